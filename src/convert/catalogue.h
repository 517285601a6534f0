// SPDX-License-Identifier: MIT
// The refractiveindex.info database's catalogue (catalog-nk.yml): its pages
// by shelf, book and page, names looked up or searched, and each page's file,
// checked to lie within the database.
#pragma once

#include <string>
#include <string_view>
#include <vector>

struct Page {
    std::string shelf, book, page;     // the ids, as the catalogue spells them
    std::string book_name, page_name;  // as written, HTML and all
    std::string data;                  // the file, under data/; "" where the entry has none
    long line = 0;                     // the page's line in the catalogue
    std::string name() const { return shelf + '/' + book + '/' + page; }
};

class Catalogue {
public:
    // Reads FOLDER/catalog-nk.yml; InputError where it is missing or broken.
    // DESCRIPTION names the database in messages.
    Catalogue(const std::string& folder, std::string description);
    const std::vector<Page>& pages() const { return pages_; }  // each once, in the catalogue's order
    // The one page a name means: shelf/book/page, book/page or book, exact
    // before ignoring case; InputError naming the candidates or the nearest names.
    const Page& find(std::string_view name) const;
    // The pages whose ids or plain names hold every word, ignoring case.
    std::vector<const Page*> search(const std::vector<std::string>& words) const;
    // The page's file; InputError where the entry has none, or where it
    // lies outside data/ (a catalogue is data from elsewhere).
    std::string file(const Page& page) const;
    // The page whose file this is, where one is; nullptr otherwise.
    const Page* page_of(const std::string& file) const;
    std::string suggestions(std::string_view name) const;  // "; did you mean A, B?" or ""
    const std::string& folder() const { return folder_; }

private:
    std::string folder_, description_;
    std::vector<Page> pages_;
};
