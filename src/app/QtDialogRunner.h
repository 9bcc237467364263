#pragma once
#include "app/DialogRunner.h"

#include <QColor>

#include <functional>
#include <optional>

namespace versilla::app {

/// The editor's dialogs: the option dialogs, the colour dialog, the device and
/// language dialogs, the about box and the help window.
class QtDialogRunner : public DialogRunner {
public:
    /// `background`: the colour dialogs take in theme mode (nullopt otherwise).
    QtDialogRunner(const Localizer& localizer, std::function<std::optional<QColor>()> background);
    ~QtDialogRunner() override;

    std::optional<int> chooseDevice(QWidget* parent, player::TMidiOutput& port, std::optional<int> current,
                                    std::function<void()> reopen) override;
    std::optional<int> chooseTextChannel(QWidget* parent, int current) override;
    std::optional<int> chooseMelodyChannel(QWidget* parent, int current) override;
    std::optional<bool> chooseRunningMode(QWidget* parent, bool current) override;
    std::optional<bool> chooseEqualTime(QWidget* parent, bool current) override;
    std::optional<qint64> chooseReadOnlyColour(QWidget* parent, qint64 current) override;
    std::optional<qint64> chooseBackgroundColour(QWidget* parent, qint64 current) override;
    std::optional<int> chooseLanguage(QWidget* parent, int current) override;
    void showAbout(QWidget* parent) override;
    void showHelp(QWidget* parent, const QString& page) override;
    void showEngineError(QWidget* parent, const QString& text) override;
    std::optional<int> chooseTempo(QWidget* parent, Prompter& prompter, int current, bool severalTempi) override;
    std::optional<int> chooseStartTime(QWidget* parent, Prompter& prompter, int currentMs, int songLengthMs) override;
    std::optional<QString> chooseTextToOpen(QWidget* parent) override;
    std::optional<QString> chooseTextSaveName(QWidget* parent, const QString& current) override;
    std::optional<int> chooseHyphenationLanguage(QWidget* parent, int current) override;

private:
    const Localizer& m_localizer;
    std::function<std::optional<QColor>()> m_background;
    class HelpWindow* m_help = nullptr;
};

} // namespace versilla::app
