#pragma once
// The one family of errors that core code throws. Each carries the message the user is shown,
// naming the file and the reason.
#include <stdexcept>
#include <string>

// Any failure a user can be told about.
class OrmelError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A file could not be opened, read, created or written.
class IoError : public OrmelError {
public:
    using OrmelError::OrmelError;
};

// A file was read but its contents are not what the format allows.
class FormatError : public OrmelError {
public:
    using OrmelError::OrmelError;
};
