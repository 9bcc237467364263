#pragma once
#include "app/controls/ControlSeams.h"

#include <QString>
#include <QStringList>

#include <vector>

/// Replaces the boxes, beep, colour dialog and link opener for one test and
/// records what they were asked; puts the real ones back afterwards.
struct SeamRecorder {
    struct Box {
        versilla::app::BoxIcon icon;
        QString caption;
        QString text;
    };
    std::vector<Box> boxes;
    int beeps = 0;
    QStringList urls;
    std::vector<qint64> colourAnswers; ///< answers of the colour dialog, in order (-1: cancelled)
    int colourDialogs = 0;

    SeamRecorder() {
        using versilla::app::ControlSeams;
        ControlSeams::showBox = [this](QWidget*, versilla::app::BoxIcon icon, const QString& caption,
                                       const QString& text) { boxes.push_back({icon, caption, text}); };
        ControlSeams::beep = [this] { ++beeps; };
        ControlSeams::openUrl = [this](const QString& url) {
            urls << url;
            return true;
        };
        ControlSeams::pickColour = [this](QWidget*, qint64) -> qint64 {
            const std::size_t i = static_cast<std::size_t>(colourDialogs++);
            return i < colourAnswers.size() ? colourAnswers[i] : -1;
        };
    }
    ~SeamRecorder() { versilla::app::resetControlSeams(); }
    SeamRecorder(const SeamRecorder&) = delete;
    SeamRecorder& operator=(const SeamRecorder&) = delete;
};
