#pragma once
// Why an image file named in a texture bank gave no image, as both editors tell it: the forms
// put the message together in the user's language from the kind of fault and the name.
#include "Errors.h"

#include <string>

enum class ImageFault { Missing, WrongSize, Unreadable };

struct ImageProblem {
    std::string name;
    ImageFault fault = ImageFault::Missing;
    std::string detail; // "64 x 64" for a wrong size; the reader's reason for an unreadable file
};

// The problem behind an error thrown by a load of the PCX family for image `name`.
ImageProblem ClassifyImageError(const std::string& name, const OrmelError& error);

// The skinning editor's bank load takes a bank only whole: an image it cannot use ends it with
// this error. Its text is the reader's own; forms show `problem` in the user's language.
class BankImageError : public FormatError {
public:
    BankImageError(ImageProblem problem, const std::string& message)
        : FormatError(message), problem(std::move(problem))
    {
    }
    ImageProblem problem;
};
