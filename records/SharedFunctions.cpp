#include "records/SharedFunctions.h"

#include "platform/win/FileFind.h"
#include "platform/win/LastError.h"
#include "records/AsciiCase.h"

win::AppContext& GetTheApp()
{
    return win::AppContext::Instance();
}

int GetProfileIntValue(const std::string& entry, int defaultValue, const std::string& section)
{
    return GetTheApp().GetProfileInt(section, entry, defaultValue);
}

void GetLastErrorText(std::string& text)
{
    const auto systemText = win::SystemErrorText(win::GetLastError());
    text = systemText ? *systemText : "Reason not known";
}

void ShowErrorMessage(const std::string& prefix, const std::string& suffix)
{
    // The error text first, before anything else can change the last error.
    std::string errorText;
    GetLastErrorText(errorText);
    std::string message;
    if (!prefix.empty())
        message += prefix + "\n";
    message += errorText;
    if (!suffix.empty())
        message += "\n" + suffix;
    // The prefix names a file as the file system has its name: shown as UTF-8.
    GetTheApp().MessageBoxUtf8(message, win::MB_OK);
}

bool FileOrFolderExists(const std::string& path)
{
    if (path.empty())
        return false;
    std::string_view lookup = path;
    if (lookup.size() > 1 && (lookup.back() == '/' || lookup.back() == '\\'))
        lookup.remove_suffix(1);
    return win::FindFile(lookup);
}

std::size_t FindNoCase(const std::string& text, const std::string& sought)
{
    return ToUpperAscii(text).find(ToUpperAscii(sought));
}

std::size_t FindNoCase(const std::string& text, const char* sought)
{
    return FindNoCase(text, std::string(sought ? sought : ""));
}

int CompareNoCase(const std::string& a, const std::string& b)
{
    // As the C string walk: stop at the first difference or the first NUL of either text.
    std::size_t i = 0;
    for (;; ++i) {
        const char ca = i < a.size() ? ToUpperAscii(a[i]) : '\0';
        const char cb = i < b.size() ? ToUpperAscii(b[i]) : '\0';
        if (ca != cb || ca == '\0')
            return static_cast<int>(static_cast<unsigned char>(ca))
                - static_cast<int>(static_cast<unsigned char>(cb));
    }
}

int CompareNoCase(const std::string& a, std::size_t position, std::size_t length, const std::string& b)
{
    return ToUpperAscii(a).compare(position, length, ToUpperAscii(b));
}
