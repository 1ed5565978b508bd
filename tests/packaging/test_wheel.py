"""The shared object and the release wheel: the module exports its entry point alone, and the wheel
that scripts/wheel.sh builds is one manylinux abi3 wheel that carries GMP, its licence texts and the
stubs, and works in a fresh virtual environment with GMP loaded from the wheel."""

import json
import os
import pathlib
import platform
import re
import subprocess
import sys
import tomllib
import zipfile

import pytest

import brevant_rs as br

ROOT = pathlib.Path(__file__).resolve().parents[2]
VERSION = tomllib.loads((ROOT / "pyproject.toml").read_text())["project"]["version"]
WHEEL_NAME = re.compile(r"brevant_rs-(?P<version>[^-]+)-cp311-abi3-manylinux_\d+_\d+_(?P<arch>\w+)\.whl")
linux_only = pytest.mark.skipif(sys.platform != "linux", reason="ELF shared objects and auditwheel")


def exported_symbols(shared_object):
    listing = subprocess.run(["nm", "-D", "--defined-only", str(shared_object)], check=True, capture_output=True,
                             text=True).stdout
    return sorted(line.split()[-1] for line in listing.splitlines() if line.strip())


def outside_env():
    """The environment without anything that would load another build of the module or its libraries."""
    return {k: v for k, v in os.environ.items() if k not in ("PYTHONPATH", "LD_PRELOAD", "LD_LIBRARY_PATH")}


def run(*command, **kwargs):
    return subprocess.run([str(c) for c in command], capture_output=True, text=True, env=outside_env(), **kwargs)


@linux_only
def test_installed_module_exports_only_its_entry_point():
    assert exported_symbols(br.__file__) == ["PyInit_brevant_rs"]


@pytest.fixture(scope="module")
def wheel():
    built = run("bash", ROOT / "scripts" / "wheel.sh")
    assert built.returncode == 0, built.stderr[-4000:]
    return ROOT / built.stdout.split()[-1]


@pytest.fixture(scope="module")
def fresh_python(wheel, tmp_path_factory):
    """The interpreter of a new virtual environment holding only the wheel."""
    venv = tmp_path_factory.mktemp("fresh") / "venv"
    assert run(sys.executable, "-m", "venv", venv).returncode == 0
    python = venv / "bin" / "python"
    installed = run(python, "-m", "pip", "install", "-q", "--disable-pip-version-check", "--no-index", "--no-deps", wheel)
    assert installed.returncode == 0, installed.stderr
    return python


def site_packages(python):
    return pathlib.Path(run(python, "-c", "import sysconfig; print(sysconfig.get_path('platlib'))").stdout.strip())


@linux_only
@pytest.mark.heavy
def test_wheel_is_one_self_contained_manylinux_abi3_wheel(wheel):
    name = WHEEL_NAME.fullmatch(wheel.name)
    assert name and name["version"] == VERSION and name["arch"] == platform.machine(), wheel.name
    assert sorted(p.name for p in wheel.parent.glob("brevant_rs-*.whl")) == [wheel.name]
    assert wheel.stat().st_size < 4 * 2**20
    files = zipfile.ZipFile(wheel).namelist()
    libraries = sorted(f for f in files if re.search(r"\.so(\.|$)", f))
    assert len(libraries) == 2 and libraries[0] == "brevant_rs.abi3.so", libraries
    assert re.fullmatch(r"brevant_rs\.libs/libgmp-\w+\.so\.10[.\d]*", libraries[1]), libraries
    licences = f"brevant_rs-{VERSION}.dist-info/licenses/"
    for required in ("brevant_rs-stubs/__init__.pyi", licences + "LICENSE", licences + "LICENSES/GMP.txt",
                     licences + "LICENSES/LGPL-3.0.txt", licences + "LICENSES/GPL-3.0.txt"):
        assert required in files


@linux_only
@pytest.mark.heavy
def test_auditwheel_finds_no_library_outside_the_wheel(wheel):
    shown = run(pathlib.Path(sys.executable).parent / "auditwheel", "show", "--json", wheel)
    assert shown.returncode == 0, shown.stderr
    report = json.loads(shown.stdout)
    assert report["external_libs"] == {}
    assert report["overall_tag"].startswith("manylinux_")


@linux_only
@pytest.mark.heavy
def test_fresh_environment_runs_the_smoke_check_on_the_wheels_gmp(fresh_python, tmp_path):
    smoke = run(fresh_python, ROOT / "scripts" / "wheel_smoke.py", cwd=tmp_path)
    assert smoke.returncode == 0, smoke.stdout + smoke.stderr
    print(smoke.stdout)
    site = site_packages(fresh_python)
    assert f"brevant_rs {VERSION} from {site}/brevant_rs.abi3.so" in smoke.stdout
    assert f"GMP loaded from: {site}/brevant_rs.libs/libgmp-" in smoke.stdout

    module = site / "brevant_rs.abi3.so"
    linked = run("ldd", module).stdout
    print(linked)
    gmp = [line.split() for line in linked.splitlines() if "libgmp" in line]
    assert len(gmp) == 1 and gmp[0][2].startswith(f"{site}/brevant_rs.libs/libgmp-"), linked
    assert exported_symbols(module) == ["PyInit_brevant_rs"]


@linux_only
@pytest.mark.heavy
def test_fresh_environment_type_checks_with_the_wheels_stubs(fresh_python, tmp_path):
    good = tmp_path / "good.py"
    good.write_text("import brevant_rs as br\n\nvolume: float = br.make_box('1', '2', '3', 'b').volume()\n"
                    "points, triangles = br.make_box('1', '1', '1', 'c').to_mesh()\nfirst: str = points[0][0]\n")
    bad = tmp_path / "bad.py"
    bad.write_text("import brevant_rs as br\n\nbr.make_box(1, '2', '3', 'b')\n")
    mypy = [sys.executable, "-m", "mypy", "--strict", "--no-incremental", "--python-executable", fresh_python]
    checked = run(*mypy, good, cwd=tmp_path)
    assert checked.returncode == 0, checked.stdout
    refused = run(*mypy, bad, cwd=tmp_path)
    assert refused.returncode == 1 and '"make_box" has incompatible type "int"' in refused.stdout, refused.stdout
