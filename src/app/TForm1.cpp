// The main window: construction, look and texts. Start-up and closing are in
// TForm1Startup.cpp, keys and menu commands in TForm1Commands.cpp.
#include "app/TForm1.h"

#include "app/AssignmentTab.h"
#include "app/KaraokeTab.h"
#include "app/LyricTextTab.h"
#include "app/MainMenu.h"
#include "app/PlayerPanel.h"
#include "app/QtDialogRunner.h"
#include "app/QtPrompter.h"
#include "app/SongFactsPanel.h"
#include "app/SongFileDialogs.h"
#include "app/StaffTab.h"
#include "app/TForm5.h"
#include "app/TMidi.h"
#include "app/Text.h"
#include "app/Widgets.h"
#include "app/WordTableTab.h"
#include "app/WritingPanel.h"
#include "core/TMidiFile.h"
#include "player/TMidiOutput.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTextEdit>

namespace versilla::app {

namespace {

// The window background: a small tile of the program's own, drawn in code.
QPixmap backgroundTile() {
    QPixmap tile(32, 32);
    tile.fill(QColor(192, 192, 192));
    QPainter painter(&tile);
    painter.setPen(QColor(178, 178, 186));
    painter.drawLine(0, 31, 31, 0);
    painter.drawLine(0, 15, 15, 0);
    painter.drawLine(16, 31, 31, 16);
    painter.setPen(QColor(205, 205, 210));
    painter.drawEllipse(QPoint(8, 8), 2, 2);
    painter.drawEllipse(QPoint(24, 24), 2, 2);
    return tile;
}

// Panel10: fills the client area and paints the background image tiled.
class BackgroundPanel : public QWidget {
public:
    BackgroundPanel(QWidget* parent, QLabel* image) : QWidget(parent), m_image(image) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), QBrush(m_image->pixmap()));
    }

private:
    QLabel* m_image;
};

void moveChildren(QWidget* panel, int dx, int dy) {
    for (QObject* child : panel->children())
        if (auto* widget = qobject_cast<QWidget*>(child); widget && !widget->isWindow())
            widget->move(widget->pos() + QPoint(dx, dy));
}

void setWindowColour(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

} // namespace

TForm1::TForm1(Services services)
    : m_dataDir(services.dataDir),
      m_localizer(services.dataDir),
      m_prompter(services.prompter),
      m_dialogs(services.dialogs),
      m_port(std::move(services.port)),
      m_screenWidth(std::move(services.screenWidth)),
      m_chooser(services.chooser) {
    setObjectName(QStringLiteral("TForm1"));
    if (!m_prompter) {
        m_ownPrompter = std::make_unique<QtPrompter>(m_localizer, this);
        m_prompter = m_ownPrompter.get();
    }
    if (!m_dialogs) {
        m_ownDialogs = std::make_unique<QtDialogRunner>(m_localizer, [this] { return dialogBackground(); });
        m_dialogs = m_ownDialogs.get();
    }
    if (!m_port) m_port = std::make_unique<player::TMidiOutput>();
    if (!m_screenWidth) m_screenWidth = [this] {
        const QScreen* screen = this->screen();
        return screen ? screen->geometry().width() : 0;
    };
    if (!m_chooser) {
        m_ownChooser = std::make_unique<QtSongFileChooser>(this);
        m_chooser = m_ownChooser.get();
    }
    buildWindow();
    connectMenu();
    connectSongCommands();
    m_info = new TForm5(m_localizer, this);
    // The window sees every key before its controls do.
    qApp->installEventFilter(this);
}

TForm1::~TForm1() {
    qApp->removeEventFilter(this);
    if (m_workspace) {
        m_workspace->setObserver(nullptr);
        m_workspace->list().removeListener(m_observer.get());
        m_workspace.reset();
    }
    // Without a close (start-up failure, forced end) the working copies stay.
    if (m_port) m_port->close();
}

void TForm1::buildWindow() {
    setFont(windowFont());
    setWindowColour(this, QColor(192, 192, 192));

    MainMenu1 = new MainMenu(this);
    setMenuBar(MainMenu1);

    Panel10 = nullptr;
    BackgroundImage = new QLabel(this);
    BackgroundImage->setObjectName(QStringLiteral("BackgroundImage"));
    BackgroundImage->setPixmap(backgroundTile());
    BackgroundImage->hide();
    Panel10 = new BackgroundPanel(this, BackgroundImage);
    Panel10->setObjectName(QStringLiteral("Panel10"));
    Panel10->setFixedSize(762, 485);
    setCentralWidget(Panel10);

    Panel1 = new SongFactsPanel(Panel10);
    Panel2 = new PlayerPanel(Panel10);
    Panel9 = new WritingPanel(Panel10);
    for (QWidget* panel : {static_cast<QWidget*>(Panel1), static_cast<QWidget*>(Panel2),
                           static_cast<QWidget*>(Panel9)})
        setWindowColour(panel, QColor(192, 192, 192));

    PageControl1 = placed<PageControl>(Panel10, "PageControl1", 0, 89, 762, 396);
    // All five tab captions fit in one row without scroll buttons.
    PageControl1->tabBar()->setStyleSheet(QStringLiteral("QTabBar::tab { padding: 3px 5px 3px 5px; }"));
    PageControl1->setUsesScrollButtons(false);
    TabSheet1 = new KaraokeTab(nullptr);
    TabSheet2 = new WordTableTab(nullptr);
    TabSheet4 = new LyricTextTab(nullptr);
    TabSheet5 = new AssignmentTab(nullptr);
    TabSheet6 = new StaffTab(nullptr);
    bindAssignmentGrid(TabSheet5->s5_grid, TabSheet2->gridModel, TabSheet5->wwDBNavigator1, 13)->setFocusOnRefusal(true);
    PageControl1->addTab(TabSheet1, QStringLiteral("Karaoke mit Text aus Midifile (&1)"));
    PageControl1->addTab(TabSheet2, QStringLiteral("Wörter bearbeiten (&2)"));
    PageControl1->addTab(TabSheet4, QStringLiteral("Text bearbeiten (&3)"));
    PageControl1->addTab(TabSheet5, QStringLiteral("Text zuordnen (&4)"));
    PageControl1->addTab(TabSheet6, QStringLiteral("Zuordnungstabelle grafisch bearbeiten (&5)"));
    for (QWidget* page : {static_cast<QWidget*>(TabSheet2), static_cast<QWidget*>(TabSheet5)})
        setWindowColour(page, QColor(192, 192, 192));
    for (QWidget* panel : {static_cast<QWidget*>(TabSheet2->Panel3), static_cast<QWidget*>(TabSheet2->Panel4),
                           static_cast<QWidget*>(TabSheet2->Panel11), static_cast<QWidget*>(TabSheet4->Panel12),
                           static_cast<QWidget*>(TabSheet5->Panel5), static_cast<QWidget*>(TabSheet5->Panel6),
                           static_cast<QWidget*>(TabSheet5->Panel7), static_cast<QWidget*>(TabSheet5->Panel8)})
        setWindowColour(panel, QColor(192, 192, 192));

    // Fixed client area of 762 x 485 below the menu, centred on the screen.
    adjustSize();
    setFixedSize(sizeHint());
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
}

void TForm1::connectMenu() {
    connect(MainMenu1->Beenden1, &QAction::triggered, this, &TForm1::Beenden1Click);
    connect(MainMenu1->MidiAusgabegeraet1, &QAction::triggered, this, &TForm1::MidiAusgabegeraet1Click);
    connect(MainMenu1->FarbeSchreibgeschuetzt1, &QAction::triggered, this, &TForm1::FarbeSchreibgeschuetzt1Click);
    connect(MainMenu1->RunningMode1, &QAction::triggered, this, &TForm1::RunningMode1Click);
    connect(MainMenu1->TextAusgabekanal1, &QAction::triggered, this, &TForm1::TextAusgabekanal1Click);
    connect(MainMenu1->Melodiekanal1, &QAction::triggered, this, &TForm1::Melodiekanal1Click);
    connect(MainMenu1->GleicheZeit1, &QAction::triggered, this, &TForm1::GleicheZeit1Click);
    connect(MainMenu1->SpracheEinstellen1, &QAction::triggered, this, &TForm1::SpracheEinstellen1Click);
    connect(MainMenu1->Hilfe1, &QAction::triggered, this, &TForm1::Hilfe1Click);
    connect(MainMenu1->UeberVersilla1, &QAction::triggered, this, &TForm1::UeberVersilla1Click);
    connect(MainMenu1->AutomatischeSilbentrennung1, &QAction::triggered, TabSheet4,
            &LyricTextTab::hyphenationCommand);
}

std::optional<QColor> TForm1::dialogBackground() const {
    if (!m_state.themeMode) return std::nullopt;
    return colourFromInt(m_state.backgroundColour);
}

void TForm1::restyleForTheme() {
    const QColor background = colourFromInt(m_state.backgroundColour);
    QFrame* framed[] = {Panel1,           Panel2,           Panel9,           TabSheet2->Panel3,
                        TabSheet2->Panel4, TabSheet5->Panel5, TabSheet5->Panel6, TabSheet5->Panel7,
                        TabSheet2->Panel11, TabSheet6->s6_panel};
    for (QFrame* panel : framed) {
        panel->setFrameStyle(QFrame::Box | QFrame::Plain);
        panel->setLineWidth(1);
        setWindowColour(panel, background);
    }
    setWindowColour(TabSheet5->Panel8, background);
    setWindowColour(TabSheet4->Panel12, background);
    for (QWidget* panel : {static_cast<QWidget*>(Panel1), static_cast<QWidget*>(Panel2),
                           static_cast<QWidget*>(TabSheet5->Panel5)})
        moveChildren(panel, -2, -3);
    for (QWidget* panel : {static_cast<QWidget*>(Panel9), static_cast<QWidget*>(TabSheet5->Panel6),
                           static_cast<QWidget*>(TabSheet5->Panel7), static_cast<QWidget*>(TabSheet2->Panel11),
                           static_cast<QWidget*>(TabSheet6->s6_panel)})
        moveChildren(panel, -3, -3);
    TabSheet1->s1_unten->resize(TabSheet1->s1_unten->width(), TabSheet1->s1_unten->height() + 3);
}

void TForm1::applyReadOnlyColour(qint64 colour) {
    const QColor c = colourFromInt(colour);
    QWidget* fields[] = {Panel1->s1_tempo,     Panel1->s1_taktart,   Panel1->s1_dauer,
                         Panel1->s1_format,    TabSheet1->s1_oben,   TabSheet1->s1_unten,
                         TabSheet5->s5_text,   Panel2->s1_startzeit, Panel2->s1_aktzeit};
    for (QWidget* field : fields) setFieldColour(field, c);
    if (!songOpen()) setFieldColour(Panel1->s1_spurname, c);
    for (QTableView* grid : {TabSheet2->wwDBGrid2, TabSheet5->s5_grid}) {
        QPalette palette = grid->palette();
        for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
            palette.setColor(group, QPalette::AlternateBase, c);
        grid->setPalette(palette);
    }
    for (QLineEdit* field : TabSheet2->recordFields)
        if (field->isReadOnly()) setFieldColour(field, c);
}

void TForm1::mainWindowTexts() {
    // A language change closes an open song first (the user may still keep it).
    if (songOpen()) Schlieen1Click();
    m_state.language = static_cast<int>(m_settings.integer("INSTLANG"));
    m_localizer.setLanguage(m_state.language);
    m_localizer.applyCaptions(1, this);
    title = windowTitle();
    applyMenuTexts();
    applySingleTexts();
    TabSheet4->layoutButtons();
    if (songOpen()) {
        setSongCaption();
        mirrorListMarks();
    }
}

void TForm1::applyMenuTexts() {
    for (const Localizer::Row& row : m_localizer.rows(1, QStringLiteral("Item"))) {
        const QString& name = row.object;
        if (name.size() < 5 || !name.at(4).isDigit()) continue;
        const int m = name.at(4).digitValue();
        if (name.size() == 5) {
            if (QMenu* menu = MainMenu1->menu(m)) menu->setTitle(row.caption);
            continue;
        }
        bool ok = false;
        const int k = name.mid(5).toInt(&ok);
        QAction* action = ok ? MainMenu1->item(m, k) : nullptr;
        if (!action) continue;
        if (!action->isSeparator()) action->setText(row.caption);
        if (!row.hint.isEmpty()) {
            QChar key = row.hint.at(0);
            if (key.isLower()) key = key.toUpper();
            action->setShortcut(QKeySequence(static_cast<int>(Qt::CTRL) | static_cast<int>(key.unicode())));
        }
    }
}

void TForm1::applySingleTexts() {
    const auto caption = [this](const char* object) { return m_localizer.caption(1, QString::fromLatin1(object)); };
    const auto hint = [this](const char* object) { return m_localizer.hint(1, QString::fromLatin1(object)); };

    TabSheet2->s2_zs->setText(QString(QChar(0xB6)) + caption("s2_zs"));
    TabSheet2->s2_lz->setText(QString(QChar(0xA4)) + caption("s2_lz"));
    for (QPushButton* button : {TabSheet2->s2_vomanfang, TabSheet2->s2_abposition, TabSheet2->s2_ersetzen}) {
        const QByteArray name = button->objectName().toLatin1();
        button->setText(caption(name.constData()));
        button->setToolTip(hint(name.constData()));
    }
    TabSheet2->cancelButton->setText(caption("CBGlobals1Cancel") + QLatin1Char(' '));
    TabSheet2->saveButton->setText(caption("CBGlobals1Save") + QLatin1Char(' '));

    texts.multiselectOnCaption = caption("s2_multiselectein");
    texts.multiselectOnHint = hint("s2_multiselectein");
    texts.multiselectOffCaption = caption("s2_multiselectaus");
    texts.multiselectOffHint = hint("s2_multiselectaus");
    TabSheet2->s2_multiselect->setText(texts.multiselectOnCaption);
    TabSheet2->s2_multiselect->setToolTip(texts.multiselectOnHint);
    texts.undoHint1 = hint("rueckgaengig_hint1");
    texts.undoHint2 = hint("rueckgaengig_hint2");
    texts.copyText = caption("copytext");

    TabSheet2->setColumns(caption("Spalte1"), caption("Spalte2"), caption("Spalte3"));
}

} // namespace versilla::app
