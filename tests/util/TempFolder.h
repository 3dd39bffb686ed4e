// A fresh folder of the test's own under the temporary folder, removed with everything in it when
// the object goes, so that parallel runs never meet.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

class TempFolder {
public:
    TempFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "orvanel-util-XXXXXX").string();
        if (::mkdtemp(pattern.data()) != nullptr)
            path_ = pattern;
    }
    ~TempFolder()
    {
        std::error_code ignored;
        std::filesystem::permissions(
            path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    // The path of a name inside, as a string.
    std::string operator/(const std::string& name) const { return (path_ / name).string(); }

    // Writes a file (its folders made first) with the text.
    void Write(const std::string& name, const std::string& text) const
    {
        std::filesystem::create_directories((path_ / name).parent_path());
        std::ofstream(path_ / name, std::ios::binary) << text;
    }
    // The text of a file, or "<missing>".
    std::string Read(const std::string& name) const
    {
        std::ifstream in(path_ / name, std::ios::binary);
        if (!in)
            return "<missing>";
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    bool Exists(const std::string& name) const
    {
        std::error_code ignored;
        return std::filesystem::exists(std::filesystem::symlink_status(path_ / name, ignored));
    }

private:
    std::filesystem::path path_;
};
