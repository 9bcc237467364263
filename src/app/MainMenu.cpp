#include "app/MainMenu.h"

#include <QAction>
#include <QMenu>

namespace versilla::app {

namespace {

QAction* addItem(QMenu* menu, const char* name, const QString& text, const QKeySequence& keys = {}) {
    QAction* action = menu->addAction(text);
    action->setObjectName(QString::fromLatin1(name));
    if (!keys.isEmpty()) action->setShortcut(keys);
    return action;
}

void addSeparatorItem(QMenu* menu, const char* name) {
    menu->addSeparator()->setObjectName(QString::fromLatin1(name));
}

} // namespace

MainMenu::MainMenu(QWidget* parent) : QMenuBar(parent) {
    setObjectName(QStringLiteral("MainMenu1"));
    setNativeMenuBar(false);

    QMenu* datei = addMenu(QStringLiteral("&Datei"));
    datei->setObjectName(QStringLiteral("Datei1"));
    Oeffnen1 = addItem(datei, "Oeffnen1", QStringLiteral("Ö&ffnen"), QKeySequence(Qt::CTRL | Qt::Key_O));
    Schliessen1 = addItem(datei, "Schliessen1", QStringLiteral("S&chließen"));
    Speichern1 = addItem(datei, "Speichern1", QStringLiteral("&Speichern"), QKeySequence(Qt::CTRL | Qt::Key_S));
    addSeparatorItem(datei, "N1");
    Beenden1 = addItem(datei, "Beenden1", QStringLiteral("&Beenden"));

    QMenu* bearbeiten = addMenu(QStringLiteral("&Bearbeiten"));
    bearbeiten->setObjectName(QStringLiteral("Bearbeiten1"));
    MidiAusgabegeraet1 = addItem(bearbeiten, "MidiAusgabegeraet1", QStringLiteral("&Midi-Ausgabegerät festlegen"));
    FarbeSchreibgeschuetzt1 =
        addItem(bearbeiten, "FarbeSchreibgeschuetzt1", QStringLiteral("&Farbe schreibgeschützte Felder"));
    RunningMode1 = addItem(bearbeiten, "RunningMode1", QStringLiteral("&Running Mode"));
    addSeparatorItem(bearbeiten, "N2");
    TextAusgabekanal1 = addItem(bearbeiten, "TextAusgabekanal1", QStringLiteral("&Text-Ausgabekanal im Format 1"));
    Melodiekanal1 = addItem(bearbeiten, "Melodiekanal1", QStringLiteral("M&elodiekanal festlegen"));
    addSeparatorItem(bearbeiten, "N3");
    AutomatischeSilbentrennung1 =
        addItem(bearbeiten, "AutomatischeSilbentrennung1", QStringLiteral("&Automatische Silbentrennung"));
    addSeparatorItem(bearbeiten, "N4");
    GleicheZeit1 = addItem(bearbeiten, "GleicheZeit1", QStringLiteral("Melodienoten mit gleicher &Zeit"));
    addSeparatorItem(bearbeiten, "N5");
    SpracheEinstellen1 = addItem(bearbeiten, "SpracheEinstellen1", QStringLiteral("&Sprache einstellen"));

    QMenu* info = addMenu(QStringLiteral("&Info"));
    info->setObjectName(QStringLiteral("Info1"));
    Hilfe1 = addItem(info, "Hilfe1", QStringLiteral("&Hilfe"));
    UeberVersilla1 = addItem(info, "UeberVersilla1", QStringLiteral("ü&ber Versilla"));

    m_menus = {datei, bearbeiten, info};
}

QMenu* MainMenu::menu(int m) const {
    if (m < 0 || m >= static_cast<int>(m_menus.size())) return nullptr;
    return m_menus[static_cast<std::size_t>(m)];
}

QAction* MainMenu::item(int m, int k) const {
    QMenu* top = menu(m);
    if (!top || k < 0 || k >= top->actions().size()) return nullptr;
    return top->actions().at(k);
}

} // namespace versilla::app
