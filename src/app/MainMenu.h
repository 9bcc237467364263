#pragma once
#include <QMenuBar>

#include <array>

class QAction;
class QMenu;

namespace versilla::app {

/// The main menu `MainMenu1`: "&Datei", "&Bearbeiten", "&Info" with their items
/// in order; separators count as items, as the caption keys number them.
class MainMenu : public QMenuBar {
    Q_OBJECT
public:
    explicit MainMenu(QWidget* parent);

    /// Top-level menu m (0..2); null when out of range.
    QMenu* menu(int m) const;
    /// Item k of menu m, separators counted; null when out of range.
    QAction* item(int m, int k) const;

    QAction* Oeffnen1;
    QAction* Schliessen1;
    QAction* Speichern1;
    QAction* Beenden1;
    QAction* MidiAusgabegeraet1;
    QAction* FarbeSchreibgeschuetzt1;
    QAction* RunningMode1;
    QAction* TextAusgabekanal1;
    QAction* Melodiekanal1;
    QAction* AutomatischeSilbentrennung1;
    QAction* GleicheZeit1;
    QAction* SpracheEinstellen1;
    QAction* Hilfe1;
    QAction* UeberVersilla1;

private:
    std::array<QMenu*, 3> m_menus{};
};

} // namespace versilla::app
