// SPDX-License-Identifier: MIT
#include "database.h"
#include "identity.h"
#include "input_error.h"

#include <cstdlib>
#include <filesystem>
#include <vector>
#ifdef _WIN32
#include <windows.h>
#endif

namespace fs = std::filesystem;

namespace {

fs::path executable_folder()
{
#ifdef _WIN32
    std::wstring path(MAX_PATH, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), DWORD(path.size())));
    return fs::path(path).parent_path();
#else
    std::error_code error;
    return fs::read_symlink("/proc/self/exe", error).parent_path();
#endif
}

bool holds_catalogue(const fs::path& folder)
{
    std::error_code error;
    return fs::is_regular_file(folder / "catalog-nk.yml", error);
}

// The database in FOLDER, or in the database/ of a clone of its repository.
Database in(const std::string& folder, const char* how)
{
    const fs::path path = fs::u8path(folder);
    for (const fs::path& candidate : {path, path / "database"})
        if (holds_catalogue(candidate))
            return {candidate.u8string(), candidate.u8string()};
    throw InputError(0, std::string("no database in ") + folder + " (" + how + "): it holds neither catalog-nk.yml nor database/catalog-nk.yml");
}

} // namespace

Database find_database(const std::string& given)
{
    if (!given.empty())
        return in(given, "--database");
    if (const char* variable = std::getenv("KALVIRA_DATABASE"); variable && *variable)
        return in(variable, "KALVIRA_DATABASE");
    // Beside the program in the build tree and the Windows folder; under share/ once installed.
    const fs::path here = executable_folder();
    const std::vector<fs::path> places = {here / kalvira_database_folder, here.parent_path() / "share" / "kalvira" / kalvira_database_folder};
    for (const fs::path& place : places)
        if (holds_catalogue(place))
            return {place.lexically_normal().u8string(), std::string("refractiveindex.info database ") + kalvira_database_version};
    throw InputError(0, "no refractiveindex.info database: none given with --database or KALVIRA_DATABASE, and none in " +
                            places[0].lexically_normal().u8string() + " or " + places[1].lexically_normal().u8string());
}
