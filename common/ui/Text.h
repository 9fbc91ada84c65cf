#pragma once
// Texts of settings files and dictionaries are 8-bit: UTF-8 where they are valid UTF-8, else
// the Western Windows code page of files made on other systems.
#include <QString>

#include <string>

QString Ui(const std::string& text);
std::string Native(const QString& text);
