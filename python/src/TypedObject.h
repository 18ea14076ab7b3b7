// Python objects built by hand (for speed, or for how strings are decoded)
// that still show a precise type in help() signatures: Typed<ListOfStr> reads
// "list[str]" where a bare pybind11::list would read "list".
#ifndef KELVORN_PYTHON_TYPEDOBJECT_H
#define KELVORN_PYTHON_TYPEDOBJECT_H

#include <pybind11/pybind11.h>

#include <utility>

namespace kelvorn_python {

template <typename Tag>
struct Typed {
  Typed() = default;
  explicit Typed(pybind11::object o) : object(std::move(o)) {}
  pybind11::object object;
};

#define KELVORN_PY_TYPE_NAME(tag, text) \
  struct tag {                          \
    static constexpr auto name = pybind11::detail::const_name(text); \
  }

KELVORN_PY_TYPE_NAME(ListOfStr, "list[str]");
KELVORN_PY_TYPE_NAME(OptionalStr, "Optional[str]");
KELVORN_PY_TYPE_NAME(OptionalHanYu, "Optional[HanYu]");
KELVORN_PY_TYPE_NAME(RadicalEntries, "list[tuple[str, int]]");
KELVORN_PY_TYPE_NAME(IteratorOfStr, "Iterator[str]");
KELVORN_PY_TYPE_NAME(OptionalPath, "str | bytes | os.PathLike | None");

#undef KELVORN_PY_TYPE_NAME

}  // namespace kelvorn_python

namespace pybind11 {
namespace detail {

template <typename Tag>
struct type_caster<kelvorn_python::Typed<Tag>> {
  PYBIND11_TYPE_CASTER(kelvorn_python::Typed<Tag>, Tag::name);
  bool load(handle src, bool /*convert*/) {
    value.object = reinterpret_borrow<object>(src);
    return true;
  }
  static handle cast(const kelvorn_python::Typed<Tag>& src, return_value_policy /*policy*/,
                     handle /*parent*/) {
    return src.object.inc_ref();
  }
};

}  // namespace detail
}  // namespace pybind11

#endif  // KELVORN_PYTHON_TYPEDOBJECT_H
