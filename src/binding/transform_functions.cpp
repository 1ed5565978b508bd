// Glue for moving, resizing, mirroring and turning solids.
#include "binding/functions.hpp"
#include "exact/failure.hpp"
#include "solid/transforms.hpp"

namespace brevant::binding {
namespace {

// Rows of number texts of the given shape, or the refusal `shape_message` before any is read.
std::vector<std::vector<Rational>> number_rows(const Texts2& rows, std::size_t count, std::size_t length,
                                               const char* shape_message) {
    bool shaped = rows.size() == count;
    for (const Texts& row : rows) shaped = shaped && row.size() == length;
    if (!shaped) throw Refusal(shape_message);
    std::vector<std::vector<Rational>> numbers;
    for (const Texts& row : rows) {
        std::vector<Rational> values;
        for (const std::string& text : row) values.push_back(parse_r(text));
        numbers.push_back(std::move(values));
    }
    return numbers;
}

Vec3 vec3_of(const std::vector<Rational>& row) { return {row[0], row[1], row[2]}; }

}  // namespace

const MethodDef translate_method{
    "translate",
    {{"x", Kind::Text}, {"y", Kind::Text}, {"z", Kind::Text}},
    [](const Solid& self, const Args& args) -> Result {
        return translated(self, args.numbers3(0));
    },
};

const MethodDef scale_method{
    "scale",
    {{"fx", Kind::Text}, {"fy", Kind::Text}, {"fz", Kind::Text}},
    [](const Solid& self, const Args& args) -> Result {
        const Vec3 f = args.numbers3(0);
        return scaled(self, f[0], f[1], f[2]);
    },
};

const MethodDef mirror_method{
    "mirror",
    {{"axis", Kind::UInt64}},
    [](const Solid& self, const Args& args) -> Result { return mirrored(self, args.uint64(0)); },
};

const MethodDef rotate_quarter_method{
    "rotate_quarter",
    {{"axis", Kind::UInt64}, {"quarters", Kind::Int64}},
    [](const Solid& self, const Args& args) -> Result {
        return rotated_quarter(self, args.uint64(0), args.int64(1));
    },
};

const MethodDef rotate_method{
    "rotate",
    {{"axis", Kind::Texts2}, {"angle", Kind::Text}, {"tolerance", Kind::Text}},
    [](const Solid& self, const Args& args) -> Result {
        const auto axis = number_rows(args.texts2(0), 2, 3,
                                      "rotate: the axis must be a point and a direction of three number texts each, "
                                      "[[px, py, pz], [dx, dy, dz]]");
        return rotated(self, vec3_of(axis[0]), vec3_of(axis[1]), parse_r(args.text(1)), parse_r(args.text(2)));
    },
};

const MethodDef transform_method{
    "transform",
    {{"matrix", Kind::Texts2}},
    [](const Solid& self, const Args& args) -> Result {
        const auto rows = number_rows(args.texts2(0), 3, 4,
                                      "transform: the matrix must be 3 rows of 4 number texts, "
                                      "[[a, b, c, tx], [d, e, f, ty], [g, h, i, tz]]");
        Affine map;
        for (std::size_t i = 0; i < 3; ++i) {
            map.linear[i] = vec3_of(rows[i]);
            map.shift[i] = rows[i][3];
        }
        return transformed(self, map);
    },
};

}  // namespace brevant::binding
