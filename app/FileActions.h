#pragma once
// What "UnHide" and "Delete" do to one listed object. Both work on paths of any length and in any
// script and say whether the object really ended up unhidden or deleted.
#include <string>

// Clears the hidden and system attributes, keeping every other one, and checks that they are gone.
bool UnhideObject(const std::wstring& path);

// Deletes a file, or a folder when it is empty (a folder with anything left in it stays).
bool DeleteObject(const std::wstring& path);
