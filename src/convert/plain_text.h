// SPDX-License-Identifier: MIT
// The database's names and references as plain text: they hold HTML today
// and Markdown tomorrow.
#pragma once

#include <string>
#include <string_view>

// Without HTML tags, entities decoded, without Markdown's emphasis and code
// marks; a link as its text followed by its URL in parentheses.
std::string plain_text(std::string_view text);
