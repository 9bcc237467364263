#pragma once
#include "app/dialogs/OptionDialog.h"

class QLabel;
class QPushButton;

namespace versilla::app {

/// The information box "Information": program name, logo and version.
class TForm6 : public OptionDialog {
    Q_OBJECT
public:
    /// The version the box shows.
    static constexpr const char* VersionText = "Version: 02.01.004";

    TForm6(QWidget* parent, const Localizer* localizer = nullptr,
           std::optional<QColor> background = std::nullopt);
    /// Shows the box modally until its OK button is pressed.
    static void showAbout(QWidget* parent, const Localizer* localizer,
                          std::optional<QColor> background = std::nullopt);

    QLabel* version = nullptr;
    QPushButton* OKButton = nullptr;
};

/// The program's logo, drawn in code at `size` x `size` pixels.
QPixmap versillaLogo(int size);

} // namespace versilla::app
