#pragma once
#include <QString>

#include <functional>

class QWidget;

namespace versilla::app {

/// Icons of the fixed German boxes the own controls and option dialogs show.
enum class BoxIcon { None, Information, Warning, Error };

/// How the own controls and the option dialogs reach the user outside the
/// message table: their few built-in German boxes, the beep, the colour dialog
/// and the system's default program for links. The editor keeps the defaults
/// (real boxes, QApplication::beep, QColorDialog, QDesktopServices); tests
/// replace the functions so nothing modal ever blocks them, and put the
/// defaults back with resetControlSeams().
struct ControlSeams {
    /// Shows a box with an OK button and waits for it.
    static std::function<void(QWidget* parent, BoxIcon icon, const QString& caption, const QString& text)> showBox;
    /// The short warning sound for a refused key.
    static std::function<void()> beep;
    /// Opens the colour dialog at `initial`; returns the chosen colour as a
    /// stored colour value, or -1 when the dialog was cancelled.
    static std::function<qint64(QWidget* parent, qint64 initial)> pickColour;
    /// Opens a link with the system's default program; false when that failed.
    static std::function<bool(const QString& url)> openUrl;
};

/// Puts the real boxes, beep, colour dialog and link opener back.
void resetControlSeams();

} // namespace versilla::app
