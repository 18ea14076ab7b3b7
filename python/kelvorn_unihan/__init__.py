"""Per-character access to the Unicode Han Database (Unihan).

    >>> from kelvorn_unihan import Unihan
    >>> u = Unihan()                 # the bundled Unicode 15.0 image
    >>> u.radical_stroke("漢")
    (85, 11)
    >>> u.total_strokes(0x6F22), u.readings("漢", "kMandarin")
    (14, ['hàn'])

Unihan(path) loads another binary image or a Unihan text file. See
help(kelvorn_unihan.Unihan) for every query, and `python3 -m kelvorn_unihan
show 漢` for everything the data says about a character.
"""

import os as _os

#: The Unicode 15.0 image that Unihan() loads, shipped inside the package.
BUNDLED_IMAGE = _os.path.join(_os.path.dirname(_os.path.abspath(__file__)), "unihan-15.0.bin")

from ._native import HanYu, Unihan  # noqa: E402  (BUNDLED_IMAGE must exist first)

Unihan.__module__ = __name__

__all__ = ["BUNDLED_IMAGE", "HanYu", "Unihan"]
