#pragma once
#include <QDialog>
#include <QPixmap>
#include <QString>

#include <optional>
#include <vector>

class QFrame;
class QListWidget;
class QPushButton;

namespace versilla::app {

class Localizer;

/// One row of the language table "InstSpr".
struct LanguageEntry {
    int number = 0;
    QString name;
    QPixmap flag;
};

/// The languages of "InstSpr" in display order (tag "ISPRACHE"); empty when the
/// table cannot be read.
std::vector<LanguageEntry> readLanguages(const QString& dataDir);

/// The language dialog (form 22): the languages with their flags, Prior/Next,
/// "&Speichern" and "&Abbrechen". It only chooses; the caller stores the choice.
class TForm22 : public QDialog {
    Q_OBJECT
public:
    /// `background`: the theme colour for the button panel, or an invalid colour.
    TForm22(const Localizer& localizer, int currentLanguage, const QColor& background, QWidget* parent);

    /// The language selected now (the current one until the user moves).
    std::optional<int> selectedLanguage() const;

    QFrame* Panel1;
    QListWidget* grid;
    QPushButton* prior;
    QPushButton* next;
    QFrame* Panel2;
    QPushButton* speichern;
    QPushButton* abbrechen;

private:
    std::vector<LanguageEntry> m_languages;
};

} // namespace versilla::app
