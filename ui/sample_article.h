// The article the window shows at start, so a first check can run at once.
#pragma once

#include <QString>

namespace quenvar {

// Paragraphs separated by a line holding a single space; "\n" line breaks.
QString sample_article();

}  // namespace quenvar
