#pragma once
// The parameters editor's file fields take files of the game folder only: a file chosen from
// elsewhere is offered to be copied in (default No), and the copy is taken instead.
#include <QString>

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

class QWidget;

// The name the field stores for `chosen`: `relativeTo`'s answer when the file lies inside; else,
// when the user agrees, the name of its copy in `folder` (the game folder, or its LEVEL folder for
// the start level). Empty when it stays outside: the user said no, or the copy failed (said).
std::string NameInGame(QWidget* parent, const QString& chosen, const std::filesystem::path& folder,
                       const std::function<std::string(std::string_view)>& relativeTo);
