// A set of settings kept as one table. Each row names a value in its store
// (a section and a key, both kept scrambled), reaches the field of the
// owner struct that holds it and gives its built-in value. Setting the
// defaults and reading a store both walk the rows in table order; the
// value type of a row is its kind, and each kind has its own reading rule
// in the reader. A row may also check that its value can be used.
#pragma once

#include <cstddef>
#include <span>
#include <string_view>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

// A field of TOwner that holds a T, and the field's built-in value.
template <class TOwner, class T>
struct TSettingField {
    T& (*Member)(TOwner&);
    T Default;
};

// One row; TValues are the kinds the table holds.
template <class TOwner, class... TValues>
struct TSettingRow {
    std::string_view Section;   // scrambled; empty where the store has no sections
    std::string_view Key;       // scrambled
    std::variant<TSettingField<TOwner, TValues>...> Field;
    // Whether the owner's value of this row can be used, judged with the
    // values of the other rows; null where any readable value can.
    bool (*Usable)(const TOwner&) = nullptr;
};

template <class>
struct TMemberOwner;
template <class C, class M>
struct TMemberOwner<M C::*> {
    using Type = C;
};

// The field reached from the owner through a path of member pointers:
// MemberAt<&TOwner::Block, &TBlock::Value>.
template <auto First, auto... Rest>
auto& MemberAt(typename TMemberOwner<decltype(First)>::Type& Owner)
{
    return ((Owner.*First) .* ... .* Rest);
}

template <auto First, auto... Rest>
using TMemberValue = std::remove_reference_t<decltype(MemberAt<First, Rest...>(
    std::declval<typename TMemberOwner<decltype(First)>::Type&>()))>;

// A row's field from its member path and built-in value:
// SettingAt<&TOwner::Value>(Default).
template <auto First, auto... Rest>
TSettingField<typename TMemberOwner<decltype(First)>::Type, TMemberValue<First, Rest...>> SettingAt(
    TMemberValue<First, Rest...> Default)
{
    return {&MemberAt<First, Rest...>, std::move(Default)};
}

// Every row's field at its built-in value.
template <class TOwner, class... TValues>
void SetDefaults(std::span<const TSettingRow<TOwner, TValues...>> Rows, TOwner& Owner)
{
    for (const auto& Row : Rows)
        std::visit([&](const auto& Field) { Field.Member(Owner) = Field.Default; }, Row.Field);
}

// A value that its row's check refuses is treated as unreadable: the row
// gets back its value from Before. The checks judge the values read for
// all rows, wherever in the table the others stand; they run in table order
// and again after a row is restored, as another row's value may have relied
// on the value taken back. Each row is restored at most once, which ends
// the loop; where two rows depend on each other, both checks should test
// the relation, so that a row taken back is judged again through the other.
// Returns which rows were taken back.
template <class TOwner, class... TValues>
std::vector<bool> RestoreUnusable(std::span<const TSettingRow<TOwner, TValues...>> Rows, TOwner Before,
                                  TOwner& Owner)
{
    std::vector<bool> Restored(Rows.size(), false);
    for (bool Again = true; Again;) {
        Again = false;
        for (std::size_t I = 0; I < Rows.size(); ++I)
            if (!Restored[I] && Rows[I].Usable != nullptr && !Rows[I].Usable(Owner)) {
                std::visit([&](const auto& Field) { Field.Member(Owner) = Field.Member(Before); }, Rows[I].Field);
                Restored[I] = true;
                Again = true;
            }
    }
    return Restored;
}
