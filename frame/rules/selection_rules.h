#pragma once

#include <wx/dynarray.h>

#include <vector>

// The selected indices that name items of a strip of `count` items, highest
// first and each once, so that deleting them in this order keeps the indices
// still to be deleted valid.
std::vector<int> DeletionOrder(const wxArrayInt& selections, int count);

// Where inserted pictures go in a strip of `count` items: in front of the
// first selected item, or at the end when nothing usable is selected.
int InsertPosition(const wxArrayInt& selections, int count);
