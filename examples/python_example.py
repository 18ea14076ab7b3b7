"""The Python road: load the bundled image, ask about 漢 U+6F22, look up the
other way round, and sort words in radical-stroke order."""

from kelvorn_unihan import Unihan

u = Unihan()  # the Unicode 17.0 image inside the package, loaded in milliseconds
print("漢", u.radical_stroke("漢"), u.total_strokes("漢"), u.readings("漢", "kMandarin"),
      u.cid(0x6F22))
print(u.hanyu("漢"))
print("read zi4:", " ".join(u.by_reading("zi4")[:8]))
print("radical 85 + 11:", " ".join([c for c, r in u.radical_entries(85) if r == 11][:8]))
print(sorted(["漢字", "字典", "漢", "水"], key=u.radical_stroke_key))
