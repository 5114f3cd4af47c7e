#include "window/preview_read_ahead.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

// A frame whose decodes are counted, with the thread they ran on.
class CountingSource : public FrameSource {
public:
    explicit CountingSource(bool decodes) : m_decodes(decodes) {}
    wxSize GetSize() const override { return wxSize(40, 30); }
    wxImage Decode(const wxSize& atLeast) const override
    {
        ++calls;
        onMainThread = std::this_thread::get_id() == mainThread;
        return m_decodes ? wxImage(atLeast) : wxImage();
    }
    bool IsIntact() const override { return true; }

    mutable std::atomic<int> calls{0};
    mutable std::atomic<bool> onMainThread{false};
    const std::thread::id mainThread = std::this_thread::get_id();

private:
    const bool m_decodes;
};

wxImage TakeWhenReady(PreviewReadAhead& readAhead, const FrameSourcePtr& source, const wxSize& atLeast)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (std::chrono::steady_clock::now() < deadline) {
        const wxImage picture = readAhead.Take(source, atLeast);
        if (picture.IsOk())
            return picture;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return wxImage();
}

} // namespace

TEST(PreviewReadAhead, DecodesWishesOnItsOwnThreadOnceEach)
{
    auto first = std::make_shared<CountingSource>(true);
    auto second = std::make_shared<CountingSource>(true);
    auto broken = std::make_shared<CountingSource>(false);
    PreviewReadAhead readAhead;
    readAhead.Want({{broken, wxSize(8, 6)}, {first, wxSize(20, 15)}, {second, wxSize(10, 8)}});

    EXPECT_EQ(TakeWhenReady(readAhead, first, wxSize(20, 15)).GetSize(), wxSize(20, 15));
    EXPECT_EQ(TakeWhenReady(readAhead, second, wxSize(10, 8)).GetSize(), wxSize(10, 8));
    EXPECT_FALSE(first->onMainThread);
    // Handed over once; a frame that cannot be decoded is tried once, not
    // again and again.
    EXPECT_FALSE(readAhead.Take(first, wxSize(20, 15)).IsOk());
    EXPECT_FALSE(readAhead.Take(broken, wxSize(8, 6)).IsOk());
    EXPECT_EQ(broken->calls, 1);

    // A wish at another size is a new picture; one kept from before is not
    // decoded again.
    readAhead.Want({{second, wxSize(10, 8)}, {first, wxSize(30, 22)}});
    EXPECT_EQ(TakeWhenReady(readAhead, first, wxSize(30, 22)).GetSize(), wxSize(30, 22));
    EXPECT_EQ(first->calls, 2);

    readAhead.Want({{second, wxSize(12, 9)}});
    readAhead.Want({});
    EXPECT_FALSE(readAhead.Take(second, wxSize(12, 9)).IsOk());
}
