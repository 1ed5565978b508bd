"""Settings shared by the whole Python suite."""

import hypothesis

# Under the sanitizers every call runs several times slower: no per-example deadline there.
hypothesis.settings.register_profile("sanitized", deadline=None)
