#pragma once
#include <QColor>
#include <QDialog>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QLabel;
class QPushButton;

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
    /// One label per line of text, named "Label1", "Label2", ... in order.
    QList<QLabel*> addLines(const QStringList& lines);
    /// The "&Speichern" (default) and "&Abbrechen" buttons, named for the caption table.
    void addSaveCancel(QPushButton*& save, QPushButton*& cancel);
    /// The layout of the one-list dialogs, done once their texts are final so a
    /// wider font or a longer translation widens the dialog instead of cutting
    /// text off: the lines from the top, `list` below them (`listWidth` 0: the
    /// full width), the buttons at the bottom. `minWidth` is what the list needs.
    void placeListDialog(const QList<QLabel*>& labels, QWidget* list, int listWidth, int minWidth,
                         QPushButton* save, QPushButton* cancel);

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
