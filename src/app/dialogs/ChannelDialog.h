#pragma once
#include "app/dialogs/OptionDialog.h"

#include <QStringList>

class QComboBox;
class QPushButton;

namespace versilla::app {

/// A dialog that picks one channel 1 to 16 from the drop-down list `TextSpur`.
/// The setting's current value preselects its entry; 0 (blank) preselects "1".
class ChannelDialog : public OptionDialog {
    Q_OBJECT
public:
    /// The channel chosen with "&Speichern" (1 to 16); nullopt until then and
    /// after "&Abbrechen".
    std::optional<int> result() const { return m_result; }

    QComboBox* TextSpur = nullptr;
    QPushButton* speichern = nullptr;
    QPushButton* abbrechen = nullptr;

public slots:
    /// Takes the selected entry's index + 1 as the result and closes with accept.
    void speichernClick();
    /// Closes with reject; the result stays empty.
    void abbrechenClick();

protected:
    ChannelDialog(QWidget* parent, const char* className, int formNumber, int width, int height,
                  const QStringList& lines, int current, const Localizer* localizer,
                  std::optional<QColor> background);

private:
    std::optional<int> m_result;
};

/// "Text-Ausgabekanal festlegen": the channel of the text output track for
/// format-1 songs (setting "TEXTSPUR").
class TForm12 : public ChannelDialog {
    Q_OBJECT
public:
    TForm12(QWidget* parent, int current, const Localizer* localizer = nullptr,
            std::optional<QColor> background = std::nullopt);
    /// Shows the dialog modally; the chosen channel, or nullopt when cancelled.
    static std::optional<int> choose(QWidget* parent, int current, const Localizer* localizer,
                                     std::optional<QColor> background = std::nullopt);
};

/// "Melodiekanal festlegen": the melody channel (setting "MELODIE").
class TForm13 : public ChannelDialog {
    Q_OBJECT
public:
    TForm13(QWidget* parent, int current, const Localizer* localizer = nullptr,
            std::optional<QColor> background = std::nullopt);
    /// Shows the dialog modally; the chosen channel, or nullopt when cancelled.
    static std::optional<int> choose(QWidget* parent, int current, const Localizer* localizer,
                                     std::optional<QColor> background = std::nullopt);
};

} // namespace versilla::app
