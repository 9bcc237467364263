#include "app/dialogs/TForm2.h"

#include "app/Localizer.h"
#include "app/Text.h"
#include "player/TMidiOutput.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace versilla::app {

TForm2::TForm2(QWidget* parent, player::TMidiOutput& port, std::optional<int> deviceNr, const Localizer* localizer,
               std::optional<QColor> background, std::function<void()> reopen)
    : OptionDialog(parent, "TForm2", 330, 150, background), m_port(port), m_reopen(std::move(reopen)) {
    setWindowTitle(QStringLiteral("Festlegung Midi-Ausgabegerät"));
    // The device cannot change while it is open; the old one comes back on cancel.
    if (m_port.isOpen()) {
        m_wasOpen = true;
        m_rememberedDevice = m_port.DeviceID();
        m_port.close();
    }

    auto* label1 = new QLabel(QStringLiteral("Bisheriges Midi-Ausgabegerät:"), this);
    label1->setObjectName(QStringLiteral("Label1"));
    label1->setGeometry(12, 8, 306, 16);
    midialt = new QLineEdit(this);
    midialt->setObjectName(QStringLiteral("midialt"));
    midialt->setGeometry(12, 26, 306, 22);
    midialt->setReadOnly(true);
    midialt->setFocusPolicy(Qt::NoFocus);

    auto* label2 = new QLabel(QStringLiteral("Neues Midi-Ausgabegerät:"), this);
    label2->setObjectName(QStringLiteral("Label2"));
    label2->setGeometry(12, 56, 306, 16);
    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setGeometry(12, 74, 306, 22);

    speichern = new QPushButton(QStringLiteral("&Speichern"), this);
    speichern->setObjectName(QStringLiteral("speichern"));
    speichern->setGeometry(12, 114, 100, 25);
    speichern->setDefault(true);
    abbrechen = new QPushButton(QStringLiteral("&Abbrechen"), this);
    abbrechen->setObjectName(QStringLiteral("abbrechen"));
    abbrechen->setGeometry(218, 114, 100, 25);
    connect(speichern, &QPushButton::clicked, this, &TForm2::speichernClick);
    connect(abbrechen, &QPushButton::clicked, this, &TForm2::abbrechenClick);

    if (localizer) localizer->applyCaptions(2, this);

    // Filled after the caption lookup so that a caption row cannot replace them.
    if (deviceNr) midialt->setText(toQString(m_port.deviceName(*deviceNr)));
    else midialt->clear();
    ComboBox1->addItem(QString::fromLatin1(player::TMidiOutput::MapperName));
    for (const std::string& name : m_port.deviceNames()) ComboBox1->addItem(toQString(name));
    ComboBox1->setCurrentIndex(0);
    ComboBox1->setFocus();

    // Long device names widen the dialog rather than being cut off.
    QStringList names;
    for (int i = 0; i < ComboBox1->count(); ++i) names << ComboBox1->itemText(i);
    growTo(textWidth(names) + 24 + 40, height());
    for (QWidget* field : {static_cast<QWidget*>(label1), static_cast<QWidget*>(label2),
                           static_cast<QWidget*>(midialt), static_cast<QWidget*>(ComboBox1)})
        field->resize(width() - 24, field->height());
    abbrechen->move(width() - 112, abbrechen->y());
}

void TForm2::speichernClick() {
    // The entry's position names the device, so two devices of the same name
    // stay apart.
    const int index = ComboBox1->currentIndex();
    if (index < 0) {
        reject();
        return;
    }
    m_result = index - 1;
    m_finished = true;
    accept();
}

void TForm2::abbrechenClick() { reject(); }

void TForm2::reject() {
    if (!m_finished) {
        m_finished = true;
        m_result.reset();
        if (m_wasOpen) {
            m_port.selectDevice(m_rememberedDevice);
            if (m_reopen) m_reopen();
            else m_reopenFailed = !m_port.open();
        }
    }
    QDialog::reject();
}

std::optional<int> TForm2::choose(QWidget* parent, player::TMidiOutput& port, std::optional<int> deviceNr,
                                  const Localizer* localizer, std::optional<QColor> background,
                                  std::function<void()> reopen) {
    TForm2 dialog(parent, port, deviceNr, localizer, background, std::move(reopen));
    dialog.exec();
    return dialog.result();
}

} // namespace versilla::app
