#include "app/dialogs/TForm15.h"

#include "app/Localizer.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QPushButton>

#include <algorithm>

namespace versilla::app {

namespace {

QLabel* label(QWidget* parent, const char* name, const QString& text) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    return l;
}

QFrame* panel(QWidget* parent, const char* name, std::optional<QColor> background) {
    auto* p = new QFrame(parent);
    p->setObjectName(QString::fromLatin1(name));
    p->setFrameStyle(background ? (QFrame::Box | QFrame::Plain) : (QFrame::Panel | QFrame::Raised));
    p->setLineWidth(1);
    if (background) {
        QPalette palette = p->palette();
        palette.setColor(QPalette::Window, *background);
        p->setPalette(palette);
        p->setAutoFillBackground(true);
    }
    return p;
}

} // namespace

TForm15::TForm15(QWidget* parent, int current, const Localizer* localizer, std::optional<QColor> background)
    : OptionDialog(parent, "TForm15", 215, 203, background) {
    setWindowTitle(QStringLiteral("Automatische Silbentrennung"));
    Panel1 = panel(this, "Panel1", background);
    Label1 = label(Panel1, "Label1", QStringLiteral("Wählen Sie die Sprache aus, nach deren"));
    Label2 = label(Panel1, "Label2", QStringLiteral("Regeln die Silbentrennung erfolgen soll:"));
    Sprache = new QComboBox(Panel1);
    Sprache->setObjectName(QStringLiteral("Sprache"));
    Sprache->setEditable(false);
    Sprache->addItems({QStringLiteral("Deutsch"), QStringLiteral("English")});
    Sprache->setCurrentIndex(std::clamp(current, 0, 1));

    Panel2 = panel(this, "Panel2", background);
    Label3 = label(Panel2, "Label3", QStringLiteral("Haben Sie einen eventuell vorhandenen"));
    Label4 = label(Panel2, "Label4", QStringLiteral("\"Vorspann\" markiert (Titel, Interpret usw.)?"));
    Label5 = label(Panel2, "Label5", QStringLiteral("Bitte überprüfen Sie anschließend manuell"));
    Label6 = label(Panel2, "Label6", QStringLiteral("das Ergebnis der Silbentrennung!"));
    speichern = new QPushButton(QStringLiteral("&Start"), Panel2);
    speichern->setObjectName(QStringLiteral("speichern"));
    speichern->setDefault(true);
    abbrechen = new QPushButton(QStringLiteral("&Abbrechen"), Panel2);
    abbrechen->setObjectName(QStringLiteral("abbrechen"));
    connect(speichern, &QPushButton::clicked, this, &TForm15::speichernClick);
    connect(abbrechen, &QPushButton::clicked, this, &TForm15::abbrechenClick);

    if (localizer) localizer->applyCaptions(15, this);

    // Placed once the texts are final: the designed 215 x 203 where the
    // desktop's font fits into it, wider otherwise.
    const int line = lineHeight();
    const int width =
        std::max(215, textWidth({Label1->text(), Label2->text(), Label3->text(), Label4->text(), Label5->text(),
                                 Label6->text()}) + 28);
    const int upper = 6 + 2 * line + 4 + 22 + 8;
    const int lower = 6 + 4 * line + 8 + 25 + 8;
    growTo(width, 4 + upper + 4 + lower + 4);
    const int inner = this->width() - 8;
    Panel1->setGeometry(4, 4, inner, upper);
    Label1->setGeometry(6, 6, inner - 12, line);
    Label2->setGeometry(6, 6 + line, inner - 12, line);
    Sprache->setGeometry(6, 6 + 2 * line + 4, inner - 12, 22);
    Panel2->setGeometry(4, 4 + upper + 4, inner, this->height() - upper - 12);
    int y = 6;
    for (QLabel* l : {Label3, Label4, Label5, Label6}) {
        l->setGeometry(6, y, inner - 12, line);
        y += line;
    }
    const int buttonY = Panel2->height() - 33;
    speichern->setGeometry(6, buttonY, 90, 25);
    abbrechen->setGeometry(inner - 96, buttonY, 90, 25);
    Sprache->setFocus();
}

void TForm15::speichernClick() {
    m_result = Sprache->currentIndex();
    accept();
}

void TForm15::abbrechenClick() {
    m_result.reset();
    reject();
}

std::optional<int> TForm15::choose(QWidget* parent, int current, const Localizer* localizer,
                                   std::optional<QColor> background) {
    TForm15 dialog(parent, current, localizer, background);
    dialog.exec();
    return dialog.result();
}

} // namespace versilla::app
