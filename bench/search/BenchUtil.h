#pragma once
// Small helpers shared by the search benchmarks.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// Seconds taken by one call of work.
double TimeSeconds(const std::function<void()>& work);
double Median(std::vector<double> values);

// The folder beside the running executable named name, with a trailing backslash.
std::wstring BesideExe(const std::wstring& name);

// Creates every missing folder of path (which ends in a backslash).
void CreateFolders(const std::wstring& path);

// A data set is complete once its marker file exists: generation that was cut short starts over.
bool IsComplete(const std::wstring& folder);
void MarkComplete(const std::wstring& folder);
