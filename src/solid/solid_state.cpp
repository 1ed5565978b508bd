#include "solid/solid_state.hpp"

#include <algorithm>
#include <charconv>
#include <optional>

#include "exact/failure.hpp"
#include "exact/interrupt.hpp"

namespace brevant {
namespace {

constexpr std::string_view kTag = "brevant-solid-1";

void append_number(std::string& out, const Rational& r) {
    out += ' ';
    out += r.str();
}

void append_count(std::string& out, std::size_t n) {
    out += ' ';
    out += std::to_string(n);
}

[[noreturn]] void refuse(const std::string& what) { throw Refusal("solid state: " + what); }

// The tokens of a state text, read front to back.
class Reader {
public:
    explicit Reader(std::string_view text) : rest_(text) {}

    std::string_view token() {
        const std::size_t end = std::min(rest_.find(' '), rest_.size());
        const std::string_view token = rest_.substr(0, end);
        rest_.remove_prefix(std::min(end + 1, rest_.size()));
        return token;
    }
    // Counts are written in plain decimal, without sign or leading zeros.
    std::size_t count(const char* what) {
        const std::string_view text = token();
        std::size_t n = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), n);
        if (text.empty() || error != std::errc() || end != text.data() + text.size() || std::to_string(n) != text) {
            refuse(std::string("bad ") + what);
        }
        return n;
    }
    // A count of things that each take at least `least_bytes` of the rest: a larger one cannot
    // be true, and reserving for it could exhaust memory.
    std::size_t bounded_count(const char* what, std::size_t least_bytes) {
        const std::size_t n = count(what);
        if (n > rest_.size() / least_bytes) refuse(std::string(what) + " larger than the text allows");
        return n;
    }
    std::string bytes(std::size_t n) {
        if (n > rest_.size() || (n < rest_.size() && rest_[n] != ' ')) refuse("a label runs past its length");
        std::string out(rest_.substr(0, n));
        rest_.remove_prefix(std::min(n + 1, rest_.size()));
        return out;
    }
    // Numbers are written in their text form n/d, reduced; any other spelling of a number (or
    // something that is not one) is not a state of this version.
    Rational number() {
        if (rest_.empty()) refuse("the text ends too early");
        const std::string_view text = token();
        std::optional<Rational> value;
        if (text.find('/') != std::string_view::npos) {
            try {
                value = parse_r(text);
            } catch (const InternalFailure&) {
            }
        }
        if (!value || value->str() != text) refuse("a number is not written as this version writes numbers");
        return std::move(*value);
    }
    Vec3 vec3() {
        Rational x = number();
        Rational y = number();
        Rational z = number();
        return {std::move(x), std::move(y), std::move(z)};
    }
    bool at_end() const { return rest_.empty(); }

private:
    std::string_view rest_;
};

bool is_zero_vector(const Vec3& v) { return v[0].is_zero() && v[1].is_zero() && v[2].is_zero(); }

bool all_collinear(const std::vector<Vec3>& loop) {
    std::size_t k = 1;
    while (k < loop.size() && loop[k] == loop[0]) ++k;
    for (std::size_t j = k + 1; j < loop.size(); ++j) {
        if (!is_zero_vector(cross(sub(loop[k], loop[0]), sub(loop[j], loop[0])))) return false;
    }
    return true;
}

// What every polygon this version writes keeps, and what later operations rely on: the plane
// holds every vertex, and faces the side from which the loop runs counter-clockwise where the
// loop has area. A zero plane is left only on a loop that a singular map collapsed to a line.
void refuse_unless_planes_hold(const Polygon& p, std::size_t index) {
    const std::string polygon = "polygon " + std::to_string(index);
    for (const Vec3& v : p.vertices) {
        poll_interrupt();
        if (p.plane.side(v) != 0) refuse("the plane of " + polygon + " does not hold its vertices");
    }
    if (is_zero_vector(p.plane.normal)) {
        if (!all_collinear(p.vertices)) refuse(polygon + " has a zero plane but its vertices are not on one line");
        return;
    }
    const Vec3 area = Polygon::fan_normal(p.vertices);
    if (!is_zero_vector(area) && dot(p.plane.normal, area).sign() <= 0) {
        refuse("the plane of " + polygon + " faces against the way its loop runs");
    }
}

Polygon read_polygon(Reader& in, std::size_t index) {
    std::string label = in.bytes(in.count("label length"));
    const std::size_t n = in.bounded_count("vertex count", 6);  // " 0/1 0/1 0/1" per vertex, at least
    if (n < 3) refuse("a polygon with fewer than three vertices");
    std::vector<Vec3> vertices;
    vertices.reserve(n);
    for (std::size_t i = 0; i < n; ++i) vertices.push_back(in.vec3());
    Vec3 normal = in.vec3();
    Rational offset = in.number();
    std::vector<FloatVertex> floats = to_float_vertices(vertices);
    Polygon polygon{std::move(vertices), std::move(floats), std::move(label), {std::move(normal), std::move(offset)}};
    refuse_unless_planes_hold(polygon, index);
    return polygon;
}

}  // namespace

std::string solid_state(const Solid& solid) {
    std::string out(kTag);
    append_count(out, solid.polygons.size());
    for (const Polygon& p : solid.polygons) {
        poll_interrupt();
        append_count(out, p.label.size());
        out += ' ';
        out += p.label;
        append_count(out, p.vertices.size());
        for (const Vec3& v : p.vertices) {
            for (const Rational& c : v) append_number(out, c);
        }
        for (const Rational& c : p.plane.normal) append_number(out, c);
        append_number(out, p.plane.offset);
    }
    return out;
}

Solid solid_from_state(std::string_view state) {
    Reader in(state);
    if (in.token() != kTag) refuse("not a solid state of this version");
    const std::size_t count = in.bounded_count("polygon count", 2);
    Solid solid;
    solid.polygons.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        poll_interrupt();
        solid.polygons.push_back(read_polygon(in, i));
    }
    if (!in.at_end()) refuse("text after the last polygon");
    return solid;
}

}  // namespace brevant
