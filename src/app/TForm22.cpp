#include "app/TForm22.h"

#include "app/Localizer.h"
#include "app/Text.h"
#include "app/Widgets.h"
#include "storage/Schemas.h"
#include "storage/Table.h"

#include <QListWidget>

namespace versilla::app {

std::vector<LanguageEntry> readLanguages(const QString& dataDir) {
    std::vector<LanguageEntry> result;
    storage::Table table;
    storage::OpenOptions options;
    options.exclusive = false;
    options.readOnly = true;
    if (!table.open(dataDir.toStdString(), storage::kLanguagesAlias, options)) return result;
    if (!table.setTag(storage::kLanguageNameTag)) return result;
    for (table.goTop(); !table.eof(); table.skip()) {
        LanguageEntry entry;
        entry.number = static_cast<int>(table.fieldAsInteger("NR"));
        entry.name = toQString(table.fieldAsString("SPRACHE"));
        std::string bytes;
        if (table.copyMemoField("FLAGGE", bytes))
            entry.flag.loadFromData(reinterpret_cast<const uchar*>(bytes.data()), static_cast<uint>(bytes.size()));
        result.push_back(std::move(entry));
    }
    return result;
}

TForm22::TForm22(const Localizer& localizer, int currentLanguage, const QColor& background, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("TForm22"));
    setWindowTitle(QStringLiteral("Sprache einstellen"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(226, 166);
    setModal(true);

    Panel1 = placed<QFrame>(this, "Panel1", 0, 0, 130, 166);
    grid = placed<QListWidget>(Panel1, "wwDBGrid1", 6, 6, 118, 122);
    grid->setIconSize(QSize(28, 20));
    auto* navigator = placed<QWidget>(Panel1, "DBNavigator1", 6, 134, 118, 25);
    prior = placeButton(navigator, "nbPrior", QStringLiteral("◀"), 0, 0, 58, 25);
    next = placeButton(navigator, "nbNext", QStringLiteral("▶"), 60, 0, 58, 25);

    Panel2 = placed<QFrame>(this, "Panel2", 130, 0, 96, 166);
    Panel2->setAutoFillBackground(true);
    if (background.isValid()) {
        QPalette palette = Panel2->palette();
        palette.setColor(QPalette::Window, background);
        Panel2->setPalette(palette);
    }
    speichern = placeButton(Panel2, "speichern", QStringLiteral("&Speichern"), 8, 30, 80, 26);
    abbrechen = placeButton(Panel2, "abbrechen", QStringLiteral("&Abbrechen"), 8, 66, 80, 26);
    speichern->setDefault(true);

    m_languages = readLanguages(localizer.dataDir());
    const int rowHeight = 2 * fontMetrics().height();
    int selected = 0;
    for (std::size_t i = 0; i < m_languages.size(); ++i) {
        auto* item = new QListWidgetItem(QIcon(m_languages[i].flag), m_languages[i].name, grid);
        item->setSizeHint(QSize(0, rowHeight));
        if (m_languages[i].number == currentLanguage) selected = static_cast<int>(i);
    }
    if (!m_languages.empty()) grid->setCurrentRow(selected);

    connect(prior, &QPushButton::clicked, this, [this] {
        if (grid->currentRow() > 0) grid->setCurrentRow(grid->currentRow() - 1);
    });
    connect(next, &QPushButton::clicked, this, [this] {
        if (grid->currentRow() + 1 < grid->count()) grid->setCurrentRow(grid->currentRow() + 1);
    });
    connect(speichern, &QPushButton::clicked, this, &QDialog::accept);
    connect(abbrechen, &QPushButton::clicked, this, &QDialog::reject);

    localizer.applyCaptions(22, this);
    if (windowTitle().isEmpty()) setWindowTitle(QStringLiteral("Sprache einstellen"));
}

std::optional<int> TForm22::selectedLanguage() const {
    const int row = grid->currentRow();
    if (row < 0 || row >= static_cast<int>(m_languages.size())) return std::nullopt;
    return m_languages[static_cast<std::size_t>(row)].number;
}

} // namespace versilla::app
