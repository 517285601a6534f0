// SPDX-License-Identifier: MIT
// What to cite for a material file: its references, comments and conditions
// as plain text, the kinds of data it holds with their ranges, and the database.
#pragma once

#include <string>

// NAME is the page's shelf/book/page and DATABASE names its database, or both
// are "" for a file no catalogue lists.  InputError where it is no material file.
std::string about(const std::string& name, const std::string& file, const std::string& database);
