// Starting other programs (the original platform's shell execute). The application installs a
// shell that really starts them; tests install RecordingShell, which only records the call.
#pragma once

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

private:
    std::vector<Call> calls_;
};

// The original's call through the installed shell: greater than 32 when the program was
// started, 2 (file not found) when it was not. The owner window is not used.
int ShellExecuteA(const void* owner, std::string_view verb, std::string_view file,
    std::string_view parameters, std::string_view directory, int showCommand);

} // namespace win
