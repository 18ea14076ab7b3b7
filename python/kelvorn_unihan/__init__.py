"""Per-character access to the Unicode Han Database (Unihan).

    >>> from kelvorn_unihan import Unihan
    >>> u = Unihan()                 # the bundled image (Unicode UNICODE_VERSION)
    >>> u.radical_stroke("漢")
    (85, 11)
    >>> u.total_strokes(0x6F22), u.readings("漢", "kMandarin")
    (14, ['hàn'])

Unihan(path) loads another binary image or a Unihan text file. See
help(kelvorn_unihan.Unihan) for every query, and `python3 -m kelvorn_unihan
show 漢` for everything the data says about a character.
"""

import os as _os

# UNICODE_VERSION: the Unicode release of the bundled data, such as "17.0".
from ._native import BUNDLED_FIELDS_IMAGE_NAME as _FIELDS_IMAGE_NAME
from ._native import BUNDLED_IMAGE_NAME as _IMAGE_NAME
from ._native import UNICODE_VERSION, HanYu, Unihan
from ._native import bundled_path as _bundled_path

#: The image that Unihan() loads, found where the C++ library finds it: the
#: data directory of the install, the package itself when pip installed it,
#: or the directory KELVORN_UNIHAN_DATA_DIR names.
BUNDLED_IMAGE = _os.fsdecode(_bundled_path(_IMAGE_NAME))

#: The all-field image beside it: every Unihan field, for field() and fields().
BUNDLED_FIELDS_IMAGE = _os.fsdecode(_bundled_path(_FIELDS_IMAGE_NAME))

Unihan.__module__ = __name__

__all__ = ["BUNDLED_FIELDS_IMAGE", "BUNDLED_IMAGE", "HanYu", "UNICODE_VERSION", "Unihan"]
