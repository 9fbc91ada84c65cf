#pragma once
// The texture bank editor's messages about a bank's files, put together from texts of the
// user's language (dictionary entries) and the names and lines they concern.
#include "EditorBank.h"

#include <string>

struct BankMessageTexts {
    std::string missing;    // before the names of missing images
    std::string wrongSize;  // before the names of images that are not 128 x 128
    std::string unreadable; // before the names of files that are no 256-colour PCX image
    std::string kept;       // before the lines kept without being shown
};

// One message for what a bank load found, the kept lines included when given (they are told
// once, when the bank is read); empty when there is nothing to say.
std::string BankLoadMessage(const EditorBankLoad& load, const KeptBankLines* kept, const BankMessageTexts& texts);
