#pragma once
// The library's one fatal error: a file that must be read is missing. It carries the exact text
// the user is shown; the form that catches it decides what happens next (the editors show it and
// keep the object and bank they had).
#include "Errors.h"

#include <string>

class FatalError : public IoError {
public:
    explicit FatalError(const std::string& name)
        : IoError("K3X: The file " + name + " is missing"), name_(name)
    {
    }
    const std::string& name() const { return name_; }

private:
    std::string name_;
};
