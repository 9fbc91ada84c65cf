#pragma once
// Open-dialog filters written as pairs "description|pattern|description|pattern" ("WAV file
// (*.wav)|*.wav"), in the form Qt's file dialogs take. Names on disk may be spelt in any case,
// so each pattern is offered in upper case too.
#include <QString>

#include <string_view>

QString QtFilter(std::string_view pairs);
