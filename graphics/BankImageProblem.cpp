#include "BankImageProblem.h"

#include "FatalError.h"
#include "Pcx.h"

ImageProblem ClassifyImageError(const std::string& name, const OrmelError& error)
{
    if (dynamic_cast<const FatalError*>(&error))
        return {name, ImageFault::Missing, ""};
    if (const auto* size = dynamic_cast<const ImageSizeError*>(&error))
        return {name, ImageFault::WrongSize, std::to_string(size->width) + " x " + std::to_string(size->height)};
    return {name, ImageFault::Unreadable, error.what()};
}
