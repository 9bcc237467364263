#pragma once
#include <QWidget>

class QLabel;

namespace versilla::app {

class Localizer;

/// The information window (form 5, "Information"): a small window whose label
/// shows one of the caption-table texts "text1" .. "text7" while a long
/// operation runs, with the hourglass cursor.
class TForm5 : public QWidget {
    Q_OBJECT
public:
    TForm5(const Localizer& localizer, QWidget* parent);
    ~TForm5() override;

    /// Shows text number `n` (1..7) centred on the parent, sets the hourglass
    /// cursor and paints at once so the text is seen before the work starts.
    void showText(int n);
    /// Hides the window and restores the cursor; hiding a hidden window does nothing.
    void hideText();

    QLabel* Label1;

private:
    const Localizer& m_localizer;
    bool m_cursorSet = false;
};

/// Shows the information window for the life of the scope.
class InformationScope {
public:
    InformationScope(TForm5& window, int n) : m_window(window) { m_window.showText(n); }
    ~InformationScope() { m_window.hideText(); }
    InformationScope(const InformationScope&) = delete;
    InformationScope& operator=(const InformationScope&) = delete;

private:
    TForm5& m_window;
};

} // namespace versilla::app
