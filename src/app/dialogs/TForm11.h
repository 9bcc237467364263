#pragma once
#include "app/dialogs/TForm3.h"

namespace versilla::app {

/// "Mehrere Tempi vorhanden": the tempo dialog for a song with several tempi;
/// the new first tempo moves every tempo by the same number of beats.
class TForm11 : public TempoDialog {
    Q_OBJECT
public:
    TForm11(QWidget* parent, int current, Prompter& prompter, const Localizer* localizer = nullptr,
            std::optional<QColor> background = std::nullopt);
};

} // namespace versilla::app
