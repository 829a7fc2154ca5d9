// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/calc/resets.h"

#include <array>

namespace kelsa
{

namespace
{

using F = InputField;
using M = Moment;

constexpr InputField kIceFields[]
    = { F::IceGp, F::IceGpr, F::IcePnv, F::IcePkv, F::IcePprv, F::SpanLength, F::MaxWindSpeed };
constexpr InputField kWindFields[] = { F::WindGp, F::WindGpr, F::WindPnv, F::WindPkv, F::WindPprv,
    F::SpanLength, F::MaxWindSpeed };
constexpr InputField kTransitionFields[] = { F::AnchorDistance, F::SpanLength, F::MaxWindSpeed };
constexpr InputField kAdditionalLoadFields[]
    = { F::D1, F::D2, F::D3, F::D4, F::D5, F::D6, F::D7, F::D8, F::D9, F::F1, F::F2, F::F3, F::F4,
          F::F5, F::F6, F::F7, F::F8, F::F9, F::MessengerTension, F::ContactTension,
          F::FeederTension, F::CurveRadius, F::Stagger, F::SpanLength, F::MaxWindSpeed };

constexpr auto kAllFields = [] {
    std::array<InputField, kInputFieldCount> all {};
    for (int k = 0; k < kInputFieldCount; ++k)
        all[std::size_t(k)] = InputField(k);
    return all;
}();

constexpr Moment kIceMoments[] = { M::IceWithWind };
constexpr Moment kWindMoments[] = { M::MaximumWind };
constexpr Moment kTransitionMoments[]
    = { M::IceToTrack, M::IceToSupport, M::IceToTrackHeel, M::IceToSupportHeel, M::WindToTrack,
          M::WindToSupport, M::WindToTrackHeel, M::WindToSupportHeel };
constexpr auto kAllMoments = [] {
    std::array<Moment, kMomentCount> all {};
    for (int k = 0; k < kMomentCount; ++k)
        all[std::size_t(k)] = Moment(k);
    return all;
}();

constexpr ResetInfo kResets[] = {
    { Reset::IceWithWind, "Command2", kIceFields, kIceMoments },
    { Reset::MaximumWind, "Command4", kWindFields, kWindMoments },
    { Reset::TransitionSupport, "Command13", kTransitionFields, kTransitionMoments },
    { Reset::AdditionalLoads, "Command14", kAdditionalLoadFields, {} },
    { Reset::Everything, "Command19", kAllFields, kAllMoments },
};
static_assert(std::size(kResets) == kResetCount);

} // namespace

std::span<const ResetInfo> resets()
{
    return kResets;
}

} // namespace kelsa
