#pragma once
#include <QColor>
#include <QDialog>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace versilla::app {

class Localizer;

/// Looks up the caption of one object of the dialog's form; empty when the
/// caption table has none. Tests hand in their own texts through this.
using CaptionLookup = std::function<QString(const QString& object)>;

/// Common frame of the small modal dialogs: fixed size, single border, no
/// title-bar buttons, centred on the parent, painted in the theme background
/// colour when one is given. "&Speichern" ends with accept, "&Abbrechen" with
/// reject.
class OptionDialog : public QDialog {
    Q_OBJECT
public:
    OptionDialog(QWidget* parent, const char* className, int width, int height,
                 std::optional<QColor> background);

    /// Paints the dialog's own background in `colour`.
    void paintIn(const QColor& colour);
    /// Centres the dialog on its parent window (or on the screen without one).
    void centreOnParent();

    /// Height of one line of label text in the dialog's font (at least 16).
    int lineHeight() const;
    /// Width the widest of `texts` needs in the dialog's font.
    int textWidth(const QStringList& texts) const;
    /// Widens the fixed size to at least `width` x `height`; the designed size
    /// is kept where the desktop's font fits into it.
    void growTo(int width, int height);

protected:
    void showEvent(QShowEvent* event) override;
};

/// The caption lookup of `localizer` for form `form`; with no localizer every
/// lookup is empty, so design texts stay.
CaptionLookup captionLookupFor(const Localizer* localizer, int form);

} // namespace versilla::app

namespace versilla::app {

/// The read-only colour ("FARBE"): the colour dialog opened at `current`. The
/// chosen stored colour value, or nullopt when the dialog was cancelled.
std::optional<qint64> chooseReadOnlyColour(QWidget* parent, qint64 current);

} // namespace versilla::app
