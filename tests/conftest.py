"""Settings shared by the whole Python suite."""

import hypothesis
import pytest

# Under the sanitizers every call runs several times slower: no per-example deadline there.
hypothesis.settings.register_profile("sanitized", deadline=None)


@pytest.fixture(autouse=True)
def _repeatable_random(request):
    """A test module's shared generator RNG restarts from the test's own id, so each test draws the
    same values whichever tests run before it (-k, reordering)."""
    rng = getattr(request.module, "RNG", None)
    if rng is not None:
        rng.seed(request.node.nodeid)
