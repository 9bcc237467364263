#include "app/dialogs/TForm11.h"

namespace versilla::app {

TForm11::TForm11(QWidget* parent, int current, Prompter& prompter, const Localizer* localizer,
                 std::optional<QColor> background)
    : TempoDialog(parent, "TForm11", 11, QStringLiteral("Mehrere Tempi vorhanden"),
                  {QStringLiteral("Das Midifile enthält mehrere Tempi."),
                   QStringLiteral("Die Tempoänderung wird für alle Tempi"), QStringLiteral("gleichermaßen durchgeführt."),
                   QStringLiteral("Sie können hier nur das erste Tempo"),
                   QStringLiteral("ändern. Geben Sie das neue Tempo ein:")},
                  true, current, prompter, localizer, background) {}

} // namespace versilla::app
