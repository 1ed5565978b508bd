// Glue for building solids from loops given as flat lists of coordinate texts.
#include <string>

#include "binding/functions.hpp"
#include "exact/failure.hpp"
#include "solid/prisms.hpp"

namespace brevant::binding {
namespace {

// Point i is made of texts 2i and 2i + 1. A lone last text would shift every later pair if it
// were dropped silently, so it fails, after the complete pairs have been read in order.
std::vector<Point2> points_from_flat(const Texts& flat, const char* function, const char* list) {
    std::vector<Point2> points;
    points.reserve(flat.size() / 2);
    for (std::size_t i = 0; i + 1 < flat.size(); i += 2) {
        Rational x = parse_r(flat[i]);
        Rational y = parse_r(flat[i + 1]);
        points.push_back({std::move(x), std::move(y)});
    }
    if (flat.size() % 2 != 0) {
        throw InternalFailure(std::string(function) + ": " + list + " has an odd number of coordinate texts (" +
                              std::to_string(flat.size()) + ")");
    }
    return points;
}

}  // namespace

const FunctionDef make_prism_function{
    "make_prism",
    {{"loop_flat", Kind::Texts}, {"h", Kind::Text}, {"prefix", Kind::Text}},
    [](const Args& args) -> Result {
        std::vector<Point2> loop = points_from_flat(args.texts(0), "make_prism", "loop_flat");
        const Rational h = parse_r(args.text(1));
        return make_prism(std::move(loop), h, args.text(2));
    },
};

const FunctionDef make_prismatoid_function{
    "make_prismatoid",
    {{"bottom", Kind::Texts}, {"z0", Kind::Text}, {"top", Kind::Texts}, {"z1", Kind::Text}, {"prefix", Kind::Text}},
    [](const Args& args) -> Result {
        std::vector<Point2> bottom = points_from_flat(args.texts(0), "make_prismatoid", "bottom");
        const Rational z0 = parse_r(args.text(1));
        std::vector<Point2> top = points_from_flat(args.texts(2), "make_prismatoid", "top");
        const Rational z1 = parse_r(args.text(3));
        return make_prismatoid(std::move(bottom), z0, std::move(top), z1, args.text(4));
    },
};

}  // namespace brevant::binding
