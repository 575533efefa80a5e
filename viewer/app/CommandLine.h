// The viewer's command line and dropped files: arguments are split like the
// shell quotes them, and each is taken by its suffix.
#pragma once

#include "Text.h"

enum ClipFileKind {
    kClipFileIgnored = 0,
    kClipFilePage = 1, // ".cpf"
    kClipFileBook = 2, // ".cbf"
};

// Takes the next argument of a command line: runs of spaces separate
// arguments; one that starts with a double quote runs to the next quote (or
// the end) and may hold spaces. Answers the text after the argument, or
// null when no argument is left.
const char* NextCommandArgument(const char* cursor, CText& argument);
// By the last four characters, without regard to case.
ClipFileKind ClassifyClipFile(const char* path);
