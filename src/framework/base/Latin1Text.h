#pragma once
// 8-bit (Latin-1) text as the controls keep it: conversion to and from Qt's strings and the case
// rules that list searches and upper-case combo boxes use.

#include <QString>
#include <string>
#include <string_view>

namespace afx {

QString FromLatin1(std::string_view text);
std::string ToLatin1(const QString& text);

// Upper case of a Latin-1 character: a-z and the accented small letters; others unchanged.
char Latin1Upper(char ch);
std::string Latin1Upper(std::string_view text);
// Whether `text` begins with `prefix`, compared without regard to case.
bool StartsWithNoCase(std::string_view text, std::string_view prefix);
bool EqualsNoCase(std::string_view a, std::string_view b);

} // namespace afx
