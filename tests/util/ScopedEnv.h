// Sets or clears an environment variable for a scope and puts the old value back.
#pragma once

#include <cstdlib>
#include <optional>
#include <string>

class ScopedEnv {
public:
    // Sets the variable to the value, or clears it when there is none.
    ScopedEnv(std::string name, const std::optional<std::string>& value)
        : name_(std::move(name))
    {
        if (const char* old = std::getenv(name_.c_str()))
            old_ = old;
        Put(value);
    }
    ~ScopedEnv() { Put(old_); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    void Put(const std::optional<std::string>& value) const
    {
        if (value)
            ::setenv(name_.c_str(), value->c_str(), 1);
        else
            ::unsetenv(name_.c_str());
    }

    std::string name_;
    std::optional<std::string> old_;
};
