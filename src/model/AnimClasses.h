// Time-driven animation: a base that maps a clock time to a local time
// (start, clamping, looping, stopping), a key-frame animation that finds the
// two keys around the local time and hands them with a fraction to
// Interpolate, and a list that drives many animations from one clock.
// Times are long double, in the unit of the driving clock (seconds here).
//
// A concrete animation derives from TKeyAnimation, its keys from
// TAnimationKey, and overrides Interpolate (the vertex morph animation).
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

class TAnimation {
public:
    TAnimation() = default;
    virtual ~TAnimation() = default;
    TAnimation(const TAnimation&) = delete;
    TAnimation& operator=(const TAnimation&) = delete;

    long double CurrentTime = -1;   // local time last applied; -1: none yet
    long double FirstTime = 0, LastTime = 0;
    bool Loop = false;
    long double StartTime = 0;
    bool Stopped = true;            // nothing happens before Start

    // Shows the state at CurrentTime.
    virtual void Apply() = 0;
    virtual void Update(long double Clock);
    void Start(long double Clock);
};

class TAnimationKey {
public:
    virtual ~TAnimationKey() = default;
    long double Time = 0;
};

class TKeyAnimation : public TAnimation {
public:
    ~TKeyAnimation() override;

    void Apply() override;
    void Update(long double Clock) override;
    // K1 and K2 are the keys around CurrentTime, Fraction in [0, 1].
    virtual void Interpolate(const TAnimationKey& K1, const TAnimationKey& K2, long double Fraction) = 0;
    // Stores Time in the key and inserts it in time order; the animation
    // owns it from then on. Returns the key.
    virtual TAnimationKey* Add(std::unique_ptr<TAnimationKey> Key, long double Time);
    virtual void Delete(int32_t Index);

    TAnimationKey& GetKey(int32_t Index) const;   // 0-based
    int32_t KeyCount() const { return static_cast<int32_t>(FKeys.size()); }
    // The last key whose time is at most T (the first of equal ones); 0 for
    // a time before the first key.
    int32_t IndexByTime(long double T) const;

private:
    TAnimationKey& ListItem(int32_t Index) const;
    std::vector<std::unique_ptr<TAnimationKey>> FKeys;
};

class TAnimationList {
public:
    TAnimationList() = default;
    TAnimationList(const TAnimationList&) = delete;
    TAnimationList& operator=(const TAnimationList&) = delete;
    TAnimationList(TAnimationList&&) noexcept = default;
    TAnimationList& operator=(TAnimationList&&) noexcept = default;

    long double Time = 0;   // the last clock time given to Update

    TAnimation* Add(std::unique_ptr<TAnimation> Animation);   // takes ownership
    void Clear();
    int32_t Count() const { return static_cast<int32_t>(FItems.size()); }
    TAnimation& Items(int32_t Index) const;                    // 0-based, checked
    void Update(long double Clock);
    void Start(long double Clock);

private:
    std::vector<std::unique_ptr<TAnimation>> FItems;
};
