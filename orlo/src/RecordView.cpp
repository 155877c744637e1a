#include "RecordView.h"

namespace KAVO {

void RecordView::push_back(const RecordEntry& e)
{
    if (mStore != nullptr) {
        // A view of a read recording turns into copies first.
        std::vector<RecordEntry> own;
        own.reserve(mPositions.size() + 1);
        for (std::size_t i = 0; i < mPositions.size(); ++i)
            own.push_back((*this)[i]);
        mOwn.swap(own);
        Positions().swap(mPositions);
        mParts.clear();
        mStore = nullptr;
    }
    mOwn.push_back(e);
}

void RecordView::reserve(std::size_t n)
{
    if (mStore == nullptr)
        mOwn.reserve(n);
}

void RecordView::clear()
{
    mStore = nullptr;
    Positions().swap(mPositions);
    mParts.clear();
    mOwn.clear();
}

uint32_t* RecordView::bind(const std::vector<RecordEntry>* store, std::size_t count)
{
    mOwn.clear();
    mParts.clear();
    mStore = store;
    mPositions.resize(count);
    return mPositions.data();
}

void RecordView::rebind(const std::vector<RecordEntry>* store)
{
    if (mStore != nullptr)
        mStore = store;
}

} // namespace KAVO
