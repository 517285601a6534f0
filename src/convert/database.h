// SPDX-License-Identifier: MIT
// Where the refractiveindex.info database is: the folder given, the one in
// KALVIRA_DATABASE, or the snapshot installed with the program.
#pragma once

#include <string>

struct Database {
    std::string folder;       // holding catalog-nk.yml and data/
    std::string description;  // the snapshot's version, or the folder
};

// GIVEN is --database's folder, or "": a folder of the database or a clone
// of its repository (holding database/).  InputError naming where it looked.
Database find_database(const std::string& given);
