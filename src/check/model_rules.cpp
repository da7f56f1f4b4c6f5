#include "check/model_rules.h"

namespace check {

void surfaceLimits(Report& report, const Limits& limits, std::int64_t vertices, std::int64_t triangles,
                   const std::string& label, std::int64_t vertexField, std::int64_t triangleField) {
    struct Item {
        std::int64_t value;
        const char* what;
        const char* field;
        std::int64_t offset;
        std::int64_t GameLimits::*limit;
    };
    const Item items[] = {{vertices, "vertices", ".NumVertices", vertexField, &GameLimits::vertices},
                          {triangles, "triangles", ".NumTriangles", triangleField, &GameLimits::triangles}};
    for (const Item& it : items) {
        const std::string where = label + " " + it.field;
        const GameLimits& checked = limits.game == Game::Multiplayer ? kMultiplayer : kSinglePlayer;
        if (it.value > checked.*it.limit) {
            report.addCapped(Id::GameLimit, "surface limits", where, it.offset,
                             strf("%lld %s; the %s renderer draws at most %lld per surface and drops the whole model",
                                  static_cast<long long>(it.value), it.what, checked.name,
                                  static_cast<long long>(checked.*it.limit)));
        } else if (limits.game == Game::Both && it.value > kMultiplayer.*it.limit) {
            report.addCapped(Id::MultiplayerLimit, "surface limits", where, it.offset,
                             strf("%lld %s; the multiplayer renderer draws at most %lld per surface and drops the "
                                  "whole model (single player allows %lld)",
                                  static_cast<long long>(it.value), it.what,
                                  static_cast<long long>(kMultiplayer.*it.limit),
                                  static_cast<long long>(kSinglePlayer.*it.limit)));
        }
    }
}

void modelLimit(Report& report, std::int64_t value, std::int64_t limit, const char* what, const std::string& where,
                std::int64_t fieldOffset) {
    if (value > limit)
        report.add(Id::GameLimit, where, fieldOffset,
                   strf("%lld %s; the game loads models of at most %lld", static_cast<long long>(value), what,
                        static_cast<long long>(limit)));
}

void boneIndex(Report& report, std::int32_t value, std::int32_t numBones, const std::string& where, std::int64_t at,
               const std::string& list) {
    if (value >= 0 && value < numBones) return;
    report.addCapped(Id::BoneIndex, list, where, at,
                     strf("bone index %d; the model has bones 0 to %lld", value, static_cast<long long>(numBones) - 1));
}

}  // namespace check
