// Finding a word of the glossary by its place in a line.
#include "story/records/glossary.h"

#include <algorithm>

#include "story/records/script.h"

const GlossaryWord* GlossaryWordsOf(int line, int* count) {
    *count = 0;
    if (line < 0 || line >= ScriptLineCount || LineText(line) != ShippedScript[line]) return nullptr;  // a test's table
    const GlossaryWord* end = ShippedGlossaryWords + ShippedGlossaryWordCount;
    const GlossaryWord* first = std::lower_bound(ShippedGlossaryWords, end, line,
                                                 [](const GlossaryWord& a, int l) { return a.line < l; });
    const GlossaryWord* last = first;
    while (last != end && last->line == line) ++last;
    *count = int(last - first);
    return *count ? first : nullptr;
}

const GlossaryWord* GlossaryWordAt(int line, int offset) {
    int count;
    const GlossaryWord* words = GlossaryWordsOf(line, &count);
    for (int i = 0; i < count; ++i)
        if (offset >= words[i].start && offset < words[i].start + words[i].length) return &words[i];
    return nullptr;
}

const GlossaryEntry& GlossaryEntryOf(const GlossaryWord& word) { return ShippedGlossary[word.entry]; }
