#pragma once
// The search's notes to the window: folders entered and matches, with their rows' texts made on the
// walking thread (see NoteFeed.h for how they travel).
#include "app/FileActions.h"
#include "app/NoteFeed.h"

#include <string>

struct TSearchNote {
    enum TKind {
        Folder,      // a folder entered: Location is the folder
        Match,       // an entry that matched, with its row's texts and what the row stands for
        Unopened,    // a folder entered whose entries could not be listed
    };
    TKind Kind = Match;
    std::wstring Name;
    std::wstring Location;     // ends in a backslash
    std::wstring Size;
    std::wstring Modified;
    std::string SortKey;       // of Name, for the list's order
    TListedObject Object;
};

using TSearchFeed = TNoteFeed<TSearchNote>;
