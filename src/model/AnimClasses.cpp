#include "model/AnimClasses.h"

#include <cmath>
#include <string>

#include "gl/Errors.h"
#include "gl/FastMath.h"

namespace {

const char* const AddPrefix = "TKeyAnimation Add is failed!\r\n";
const char* const DeletePrefix = "TKeyAnimation Delete is failed!\r\n";
const char* const GetKeyPrefix = "TKeyAnimation GetKey is failed!\r\n";

[[noreturn]] void Rethrow(const char* Prefix, const std::exception& E)
{
    throw EGlimmoraError(Prefix + std::string(E.what()));
}

}   // namespace

// ------------------------------------------------------------ TAnimation

void TAnimation::Start(long double Clock)
{
    StartTime = Clock;
    Stopped = false;
}

void TAnimation::Update(long double Clock)
{
    if (Stopped)
        return;
    long double L = Clock - StartTime;
    if (L < 0)
        L = 0;
    if (L == CurrentTime || !std::isfinite(L))
        return;
    if (Loop) {
        const long double D = LastTime - FirstTime;
        // A key range of zero length has nothing to loop over; dividing by
        // it would make a NaN time.
        if (!(D > 0))
            return;
        L = FracPart(L / D) * D;
    } else if (L < FirstTime) {
        L = FirstTime;
    } else if (!(L < LastTime)) {
        L = LastTime;
        Stopped = true;
    }
    if (L != CurrentTime) {
        CurrentTime = L;
        Apply();
    }
}

// --------------------------------------------------------- TKeyAnimation

TKeyAnimation::~TKeyAnimation()
{
    FKeys.clear();
    FirstTime = 0;
    LastTime = 0;
}

void TKeyAnimation::Update(long double Clock)
{
    if (KeyCount() == 0)
        return;
    TAnimation::Update(Clock);
}

TAnimationKey& TKeyAnimation::ListItem(int32_t Index) const
{
    if (Index < 0 || Index >= KeyCount())
        throw EGlimmoraError("List index out of bounds (" + std::to_string(Index) + ")");
    return *FKeys[static_cast<std::size_t>(Index)];
}

TAnimationKey& TKeyAnimation::GetKey(int32_t Index) const
{
    try {
        return ListItem(Index);
    } catch (const std::exception& E) {
        Rethrow(GetKeyPrefix, E);
    }
}

int32_t TKeyAnimation::IndexByTime(long double T) const
{
    if (FKeys.empty())
        throw EGlimmoraError("TKeyAnimation IndexByTime is failed\r\nKeyCount is Zero!");
    int32_t Lo = 0, Hi = KeyCount(), Mid = 0;
    while (Hi > Lo) {
        Mid = Lo + (Hi - Lo) / 2;
        if (T > FKeys[static_cast<std::size_t>(Mid)]->Time)
            Lo = Mid + 1;
        else
            Hi = Mid;
    }
    // Lo is the first key whose time is not below T.
    if (Lo < KeyCount()) {
        const long double LoTime = FKeys[static_cast<std::size_t>(Lo)]->Time;
        if (T < LoTime && Lo > 0)
            return Lo - 1;
        if (T == LoTime)
            return Lo;
    }
    return Mid;   // KeyCount - 1 past the last key, 0 before the first
}

TAnimationKey* TKeyAnimation::Add(std::unique_ptr<TAnimationKey> Key, long double Time)
{
    if (!Key)
        throw EGlimmoraError("TKeyAnimation.Add error: Key is NIL!");
    try {
        Key->Time = Time;
        TAnimationKey* Result = Key.get();
        if (FKeys.empty()) {
            // The first key leaves the range as it is (0 to 0).
            FKeys.push_back(std::move(Key));
            return Result;
        }
        // After the last key at or before Time; a key earlier than every
        // other goes first so the keys stay in time order.
        const std::size_t At =
            Time < FKeys.front()->Time ? 0 : static_cast<std::size_t>(IndexByTime(Time)) + 1;
        FKeys.insert(FKeys.begin() + static_cast<std::ptrdiff_t>(At), std::move(Key));
        if (Time < FirstTime)
            FirstTime = Time;
        if (Time > LastTime)
            LastTime = Time;
        return Result;
    } catch (const std::exception& E) {
        Rethrow(AddPrefix, E);
    }
}

void TKeyAnimation::Delete(int32_t Index)
{
    try {
        GetKey(Index);
        FKeys.erase(FKeys.begin() + Index);
    } catch (const std::exception& E) {
        Rethrow(DeletePrefix, E);
    }
}

void TKeyAnimation::Apply()
{
    const int32_t I = IndexByTime(CurrentTime);
    const TAnimationKey& K1 = *FKeys[static_cast<std::size_t>(I)];
    if (I == KeyCount() - 1) {
        Interpolate(K1, K1, 0);
        return;
    }
    const TAnimationKey& K2 = *FKeys[static_cast<std::size_t>(I) + 1];
    const long double G = K2.Time - K1.Time;
    if (G > 0)
        Interpolate(K1, K2, (CurrentTime - K1.Time) / G);
    else
        Interpolate(K1, K1, 0);
}

// ---------------------------------------------------------- TAnimationList

TAnimation* TAnimationList::Add(std::unique_ptr<TAnimation> Animation)
{
    if (!Animation)
        throw EGlimmoraError("TAnimationList error: Add a Nil Animation");
    FItems.push_back(std::move(Animation));
    return FItems.back().get();
}

void TAnimationList::Clear() { FItems.clear(); }

TAnimation& TAnimationList::Items(int32_t Index) const
{
    if (Index < 0 || Index >= Count())
        throw EGlimmoraError("TAnimationList Items: index out of bounds (" + std::to_string(Index) + ").");
    return *FItems[static_cast<std::size_t>(Index)];
}

void TAnimationList::Update(long double Clock)
{
    Time = Clock;
    for (auto& A : FItems)
        A->Update(Clock);
}

void TAnimationList::Start(long double Clock)
{
    for (auto& A : FItems)
        A->Start(Clock);
}
