"""python3 -m kelvorn_unihan: the `unihan show` command in Python."""

import sys

from ._show import main

sys.exit(main(sys.argv[1:]))
