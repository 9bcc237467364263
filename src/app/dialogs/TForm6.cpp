#include "app/dialogs/TForm6.h"

#include "app/Localizer.h"

#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPushButton>

namespace versilla::app {

QPixmap versillaLogo(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    QLinearGradient fill(0, 0, s, s);
    fill.setColorAt(0, QColor(40, 70, 160));
    fill.setColorAt(1, QColor(120, 40, 140));
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawRoundedRect(QRectF(0, 0, s, s), s * 0.18, s * 0.18);

    // Two eighth notes joined by a beam.
    p.setBrush(Qt::white);
    p.setPen(Qt::NoPen);
    const qreal r = s * 0.11;
    const QPointF head1(s * 0.30, s * 0.72), head2(s * 0.66, s * 0.64);
    p.save();
    p.translate(head1);
    p.rotate(-20);
    p.drawEllipse(QPointF(0, 0), r * 1.25, r * 0.9);
    p.restore();
    p.save();
    p.translate(head2);
    p.rotate(-20);
    p.drawEllipse(QPointF(0, 0), r * 1.25, r * 0.9);
    p.restore();
    const qreal stem = s * 0.05;
    const qreal x1 = head1.x() + r * 1.05, x2 = head2.x() + r * 1.05;
    p.drawRect(QRectF(x1 - stem, s * 0.22, stem, head1.y() - s * 0.22));
    p.drawRect(QRectF(x2 - stem, s * 0.14, stem, head2.y() - s * 0.14));
    QPainterPath beam;
    beam.moveTo(x1 - stem, s * 0.22);
    beam.lineTo(x2, s * 0.14);
    beam.lineTo(x2, s * 0.24);
    beam.lineTo(x1 - stem, s * 0.32);
    beam.closeSubpath();
    p.drawPath(beam);
    return pixmap;
}

TForm6::TForm6(QWidget* parent, const Localizer* localizer, std::optional<QColor> background)
    : OptionDialog(parent, "TForm6", 340, 170, background) {
    setWindowTitle(QStringLiteral("Information"));
    auto* logo = new QLabel(this);
    logo->setObjectName(QStringLiteral("logo"));
    logo->setPixmap(versillaLogo(64));
    logo->setGeometry(16, 16, 64, 64);

    auto* name = new QLabel(QStringLiteral("Versilla"), this);
    name->setObjectName(QStringLiteral("programname"));
    QFont big = name->font();
    big.setPointSize(big.pointSize() + 6);
    big.setBold(true);
    name->setFont(big);
    name->setGeometry(96, 14, 230, 30);

    auto* what = new QLabel(QStringLiteral("Karaoke-Texte für Midifiles"), this);
    what->setObjectName(QStringLiteral("beschreibung"));
    what->setGeometry(96, 46, 230, lineHeight());

    version = new QLabel(this);
    version->setObjectName(QStringLiteral("version"));
    version->setGeometry(96, 46 + lineHeight() + 4, 230, lineHeight());

    auto* licence = new QLabel(QStringLiteral("Freie Software unter der GNU LGPL 2.1"), this);
    licence->setObjectName(QStringLiteral("lizenz"));
    licence->setGeometry(96, 46 + 2 * (lineHeight() + 4), 230, lineHeight());

    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setGeometry(130, 130, 80, 25);
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);

    if (localizer) localizer->applyCaptions(6, this);
    // The version is the program's own, whatever the caption table says.
    version->setText(QString::fromLatin1(VersionText));

    growTo(96 + textWidth({what->text(), version->text(), licence->text()}) + 16, height());
    for (QLabel* label : {name, what, version, licence}) label->resize(width() - 96 - 12, label->height());
    OKButton->move((width() - OKButton->width()) / 2, OKButton->y());
}

void TForm6::showAbout(QWidget* parent, const Localizer* localizer, std::optional<QColor> background) {
    TForm6 box(parent, localizer, background);
    box.exec();
}

} // namespace versilla::app
