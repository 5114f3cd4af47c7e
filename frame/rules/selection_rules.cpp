#include "rules/selection_rules.h"

#include <algorithm>
#include <functional>

std::vector<int> DeletionOrder(const wxArrayInt& selections, int count)
{
    std::vector<int> order;
    for (int index : selections)
        if (index >= 0 && index < count)
            order.push_back(index);
    std::sort(order.begin(), order.end(), std::greater<int>());
    order.erase(std::unique(order.begin(), order.end()), order.end());
    return order;
}

int InsertPosition(const wxArrayInt& selections, int count)
{
    if (!selections.empty() && selections[0] >= 0 && selections[0] <= count)
        return selections[0];
    return count;
}
