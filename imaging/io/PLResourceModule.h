// The resources of a program module: blocks of bytes found by type and numeric id. Stands in for
// the resources the original platform links into a program file.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

inline constexpr const char* PL_RT_BITMAP = "BITMAP"; // a device-independent bitmap block
inline constexpr const char* PL_RT_RCDATA = "RCDATA"; // raw data

class PLResourceModule {
public:
    void Add(const std::string& type, int id, std::vector<uint8_t> data)
    {
        m_Resources[{ type, id }] = std::move(data);
    }
    // The resource's bytes, or null when the module has none of that type and id.
    const std::vector<uint8_t>* Find(const std::string& type, int id) const
    {
        const auto it = m_Resources.find({ type, id });
        return it == m_Resources.end() ? nullptr : &it->second;
    }

private:
    std::map<std::pair<std::string, int>, std::vector<uint8_t>> m_Resources;
};
