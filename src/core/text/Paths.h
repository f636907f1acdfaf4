#pragma once

// The few path operations the program needs: where its own executable lives, and taking
// apart and joining the paths written in data files, which may use '\' as well as '/'.

#include <string>
#include <string_view>

namespace pelo {

// The folder of the running executable, without a final '/'; empty when it cannot be told.
std::string ProgramFolder();

// Everything before the last '/' or '\' (empty when there is none). "/a.bmp" gives "/".
std::string FolderOf(std::string_view path);

// Everything after the last '/' or '\' (the whole path when there is none).
std::string FileNameOf(std::string_view path);

// folder + '/' + name. An empty folder or an absolute name gives the name alone; a folder
// that already ends in '/' gets no second one.
std::string JoinPath(std::string_view folder, std::string_view name);

}  // namespace pelo
