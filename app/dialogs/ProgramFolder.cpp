#include "app/dialogs/ProgramFolder.h"

#include <filesystem>
#include <system_error>

namespace {

std::string CurrentFolder()
{
    std::error_code error;
    const std::filesystem::path current = std::filesystem::current_path(error);
    return error ? std::string("./") : current.string() + "/";
}

} // namespace

std::string ProgramFolderOf(std::string_view executablePath)
{
    const std::size_t slash = executablePath.rfind('/');
    if (slash == std::string_view::npos)
        return CurrentFolder();
    return std::string(executablePath.substr(0, slash + 1));
}

std::string RunningProgramFolder()
{
    std::error_code error;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    return ProgramFolderOf(error ? std::string() : executable.string());
}
