// Starting other programs (the original platform's shell execute), and opening a file or folder
// the way the desktop does. The application installs a shell that really does both; tests install
// RecordingShell, which only records the calls.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace win {

class Shell {
public:
    virtual ~Shell() = default;
    // Starts the file (a program) with the parameters in the folder, without waiting for it.
    // True when it was started.
    virtual bool Execute(std::string_view verb, std::string_view file, std::string_view parameters,
        std::string_view directory, int showCommand)
        = 0;
    // Opens the file or folder with the desktop's application for its kind (a folder in the file
    // manager); a file is never run as a program because it was opened. False when the desktop's
    // opener could not be started; otherwise `ended` is called once, later, on the thread that
    // runs the event loop, with whether the opener succeeded.
    virtual bool OpenWithDesktop(std::string_view path, std::function<void(bool opened)> ended) = 0;
};

class RecordingShell : public Shell {
public:
    struct Call {
        std::string verb, file, parameters, directory;
        int showCommand = 0;
        friend bool operator==(const Call&, const Call&) = default;
    };
    bool Execute(std::string_view verb, std::string_view file, std::string_view parameters,
        std::string_view directory, int showCommand) override;
    const std::vector<Call>& Calls() const { return calls_; }

    // Records the path and answers as told (by default: started, and opened), calling `ended` at
    // once when started.
    bool OpenWithDesktop(std::string_view path, std::function<void(bool opened)> ended) override;
    const std::vector<std::string>& Opened() const { return opened_; }
    void AnswerOpen(bool started, bool opened)
    {
        openStarts_ = started;
        openSucceeds_ = opened;
    }

private:
    std::vector<Call> calls_;
    std::vector<std::string> opened_;
    bool openStarts_ = true;
    bool openSucceeds_ = true;
};

// The original's call through the installed shell: greater than 32 when the program was
// started, 2 (file not found) when it was not. The owner window is not used.
int ShellExecuteA(const void* owner, std::string_view verb, std::string_view file,
    std::string_view parameters, std::string_view directory, int showCommand);

} // namespace win
