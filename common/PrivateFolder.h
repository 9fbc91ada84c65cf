#pragma once
// Folders of the user's own (recovery copies of unsaved work, settings) are readable by nobody
// else: made 0700, and refused when they are not what they seem. A folder that is a symbolic link,
// or that belongs to someone else, may have been put there to catch what is written into it.
#include <filesystem>

// Makes `folder` (and its missing parents) with mode 0700 and answers when it is the user's own
// real folder, its mode narrowed to 0700. Throws IoError naming the folder and the reason when it
// cannot be made, is a link, is not a folder or belongs to another user; nothing is changed then.
// `checkedFrom` is the highest folder checked the same way (the recovery folder's program folder):
// folders above it are the user's home and the system's.
void MakePrivateFolder(const std::filesystem::path& folder, const std::filesystem::path& checkedFrom);
