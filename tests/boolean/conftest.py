"""Lets the boolean tests import their shared box oracle (the suite imports test files in
importlib mode, which does not put their folder on the path)."""

import pathlib
import sys

sys.path.insert(0, str(pathlib.Path(__file__).parent))
