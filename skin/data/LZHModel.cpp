#include "skin/data/LZHModel.h"

using namespace lzh;

void TLZHModel::StartHuff() {
    for (unsigned s = 0; s < Symbols; ++s) {
        Freq[s] = 1;
        Child[s] = s + TreeSize;
        Parent[s + TreeSize] = s;
    }
    for (unsigned i = 0, j = Symbols; j <= Root; i += 2, ++j) {
        Freq[j] = Freq[i] + Freq[i + 1];
        Child[j] = i;
        Parent[i] = Parent[i + 1] = j;
    }
    Freq[TreeSize] = 0xFFFF;
    Parent[Root] = 0;
}

void TLZHModel::Reconst() {
    // Gather the leaves at the bottom with their counts halved (rounding up, so none drops to 0).
    unsigned leaves = 0;
    for (unsigned i = 0; i < TreeSize; ++i) {
        if (Child[i] >= TreeSize) {
            Freq[leaves] = (Freq[i] + 1) / 2;
            Child[leaves] = Child[i];
            ++leaves;
        }
    }
    // Join pairs into inner nodes, each inserted after the last node whose count is not above its own,
    // so that counts stay in ascending node order.
    for (unsigned i = 0, j = Symbols; j < TreeSize; i += 2, ++j) {
        unsigned f = Freq[i] + Freq[i + 1];
        unsigned k = j;
        while (k > 0 && f < Freq[k - 1]) --k;
        for (unsigned m = j; m > k; --m) {
            Freq[m] = Freq[m - 1];
            Child[m] = Child[m - 1];
        }
        Freq[k] = f;
        Child[k] = i;
    }
    for (unsigned node = 0; node < TreeSize; ++node) {
        unsigned child = Child[node];
        Parent[child] = node;
        if (child < TreeSize) Parent[child + 1] = node;
    }
}

void TLZHModel::UpdateModel(unsigned symbol) {
    if (Freq[Root] == MaxFreq) Reconst();
    unsigned n = Parent[symbol + TreeSize];
    do {
        unsigned k = ++Freq[n];
        // Out of order: swap with the last node still below the new count. The root's count, never
        // below any other node's, and the sentinel above it end the scan.
        if (k > Freq[n + 1]) {
            unsigned l = n + 1;
            while (k > Freq[l + 1]) ++l;
            Freq[n] = Freq[l];
            Freq[l] = k;

            unsigned i = Child[n];
            Parent[i] = l;
            if (i < TreeSize) Parent[i + 1] = l;
            unsigned j = Child[l];
            Child[l] = i;
            Parent[j] = n;
            if (j < TreeSize) Parent[j + 1] = n;
            Child[n] = j;
            n = l;
        }
        n = Parent[n];
    } while (n != 0);
}
