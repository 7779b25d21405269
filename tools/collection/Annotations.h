#pragma once
// Notes that another edition of a collection gives, attached to the poems they belong to.

#include <vector>

#include "tools/collection/Assembly.h"
#include "tools/collection/Poem.h"

namespace text {
class Simplifier;
}

namespace collection {

using text::Simplifier;

// Gives each poem without notes of its own the notes of the `annotations` (as the corpus gives
// them) with its dynasty, author and title whose text is part of its text. Where one annotation
// and one poem share those, they are one poem in two editions whatever their texts. A note on a
// part of a poem is headed by that part's first clause. The poems must already be simplified.
void attachAnnotations(std::vector<StoredPoem>& poems, const std::vector<Poem>& annotations,
                       const Simplifier& simplify);

}  // namespace collection
