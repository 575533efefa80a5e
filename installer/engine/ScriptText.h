// Reading the setup script's text: sections, key lines, item lines, colours
// and macros. Plain functions over bytes with no window in them; the few
// things they need from the system come through the small interfaces below.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include <string>

#include "ScriptModel.h"

const size_t kNoPosition = (size_t)-1;

// Guards against scripts whose sections name each other without end, or
// that fan out into more reads than any real installation needs. A section
// refused by them is read as one without items.
enum { kMaxSectionNesting = 32, kMaxSectionReads = 4096 };

// Where the reader learns the size of a carried file.
class CFileSizeSource {
public:
    virtual ~CFileSizeSource() {}
    // Bytes of the carried file of that name, 0 when there is none.
    virtual uint32_t GetCarriedFileSize(const std::string& source) = 0;
};

// The preparing dialog's bar, as the reader drives it.
class CLoadProgress {
public:
    virtual ~CLoadProgress() {}
    // Range 1 to high, step 1, position 1.
    virtual void SetRange(int high) = 0;
    virtual void Step() = 0;
};

// Where the macro letters get their text.
class CMacroSource {
public:
    virtual ~CMacroSource() {}
    // The text for one of the letters d, i, p, t, s, w and m (always given
    // in lower case); empty when it cannot be found.
    virtual std::string GetMacroText(char letter) = 0;
};

// One line of a section, as ReadKeyValue returns it.
struct CKeyValue {
    std::string key;
    std::string value;
    // Where the next line starts; only meaningful while the section goes on.
    size_t next = 0;
};

// Position of the first line of the section of that name (compared without
// regard to case), or kNoPosition. The first header of a name wins; a header
// without "]" on its line hides every section behind it.
size_t FindSection(const std::string& text, const std::string& name);

// Reads the line at the position. Answers true while the section goes on;
// false at its end, where the line may still hold a last key and value.
bool ReadKeyValue(const std::string& text, size_t position, CKeyValue& line);

// RRGGBB to a colour with red in the low byte; kNoColor for values longer
// than 8 characters, negative or above FFFFFF.
uint32_t ParseColor(const std::string& value);

// Item lines. The returned section name is empty when the line names none.
std::string ParseSelectionLine(const std::string& value, CSelection& component);
void ParseFileLine(const std::string& value, CFileItem& file);
void ParseIconLine(const std::string& value, CIconItem& shortcut);
void ParseCheckLine(const std::string& value, CCheckItem& option);
void ParseRegLine(const std::string& value, CRegItem& entry);
std::string ParseIfLine(const std::string& value, CIfItem& condition);

// Reads a whole script into an empty model: [MAIN] and every section it
// names. Text behind a zero byte does not count. Both interfaces may be
// null. Answers 1.
int ReadScript(const char* bytes, size_t length, CScriptModel& script, CFileSizeSource* sizes,
               CLoadProgress* progress);

// The text with its macros replaced; see the letters of CMacroSource.
std::string ExpandMacroText(const std::string& text, CMacroSource& source);
