#include "DepthSort.h"

#include <utility>

// Pivot: the last key. i and j start just outside the range, and each scan steps before it
// tests: i moves up past keys larger than the pivot, j down past keys smaller than it; the two
// entries are exchanged, until the scans meet. The last exchange is then undone and the pivot
// put in place. Only the smaller part is sorted by a nested call, the larger one by the loop,
// so sorted input cannot exhaust the stack; the order of the operations is the same.
void SortByDepth(std::span<SortKey> keys, int lo, int hi)
{
    while (lo < hi) {
        const int pivot = keys[hi].key;
        int i = lo - 1, j = hi;
        do {
            do
                ++i;
            while (keys[i].key > pivot && i < hi);
            do
                --j;
            while (keys[j].key < pivot && j > lo);
            std::swap(keys[i], keys[j]);
        } while (i < j);
        std::swap(keys[i], keys[j]);
        std::swap(keys[i], keys[hi]);
        if (i - lo < hi - i) {
            SortByDepth(keys, lo, i - 1);
            lo = i + 1;
        } else {
            SortByDepth(keys, i + 1, hi);
            hi = i - 1;
        }
    }
}
