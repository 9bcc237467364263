#pragma once
#include <QWidget>

class QTextBrowser;

namespace versilla::app {

/// The help window: HTML help pages of one language shown at a topic page.
class HelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent);
    /// Shows `page` (an HTML file path); a missing page shows its name.
    void showPage(const QString& page);
    QTextBrowser* browser;
};

} // namespace versilla::app
