"""pip's way in: builds kelvorn_unihan with the project's own CMake and ships
the extension together with the shared libraries it needs and the bundled
image. Needs nothing outside Debian's packages:

    /usr/bin/python3 -m venv --system-site-packages venv
    venv/bin/pip install --no-build-isolation ./python

KELVORN_BUILD_DIR names a configured build tree to reuse instead of building
a new one; CMAKE_BUILD_PARALLEL_LEVEL sets the build jobs (default 2).
"""

import os
import pathlib
import re
import shutil
import subprocess
import sys

from setuptools import Extension, setup
from setuptools.command.build_ext import build_ext

HERE = pathlib.Path(__file__).resolve().parent
ROOT = HERE.parent
STAGED_PACKAGE = "site"  # where the package lands in the staging tree


def project_version():
    text = (ROOT / "CMakeLists.txt").read_text(encoding="utf-8")
    return re.search(r"project\(KelvornUnihan VERSION ([0-9.]+)", text).group(1)


def cached_setting(build, name):
    text = (build / "CMakeCache.txt").read_text(encoding="utf-8")
    return re.search(rf"^{name}:[A-Z]+=(.*)$", text, re.MULTILINE).group(1)


def cmake(*args):
    subprocess.run(["cmake", *args], check=True)


class CMakeBuild(build_ext):
    """Builds the extension target with CMake and copies what cmake --install
    puts in the package (extension, image, and here the shared libraries)."""

    def build_extension(self, ext):
        reused = os.environ.get("KELVORN_BUILD_DIR")
        build = pathlib.Path(reused or pathlib.Path(self.build_temp) / "cmake").resolve()
        if not reused:
            cmake("-S", str(ROOT), "-B", str(build), "-DCMAKE_BUILD_TYPE=Release",
                  "-DKELVORN_BUILD_TESTS=OFF", "-DKELVORN_BUILD_PYTHON=ON",
                  f"-DPython_EXECUTABLE={sys.executable}",
                  f"-DKELVORN_PYTHON_INSTALL_DIR={STAGED_PACKAGE}")
        jobs = os.environ.get("CMAKE_BUILD_PARALLEL_LEVEL", "2")
        cmake("--build", str(build), "--target", "kelvorn_unihan_python", "-j", jobs)

        stage = pathlib.Path(self.build_temp).resolve() / "stage"
        shutil.rmtree(stage, ignore_errors=True)
        for component in ("python", "python_bundle"):
            cmake("--install", str(build), "--component", component, "--prefix", str(stage))
        staged = stage / cached_setting(build, "KELVORN_PYTHON_INSTALL_DIR") / "kelvorn_unihan"
        target = pathlib.Path(self.get_ext_fullpath(ext.name)).parent
        target.mkdir(parents=True, exist_ok=True)
        for path in staged.iterdir():
            if path.suffix in (".py", ".pyi", ".typed"):
                continue  # setuptools copies the package's own files
            if re.search(r"\.so\.\d+\.\d+\.\d+$", path.name):
                continue  # the loader asks for the SONAME link, copied in its place
            shutil.copyfile(path, target / path.name)  # follows the SONAME links


setup(
    name="kelvorn_unihan",
    version=project_version(),
    description="Per-character access to the Unicode Han Database (Unihan)",
    packages=["kelvorn_unihan"],
    package_data={"kelvorn_unihan": ["py.typed", "*.pyi"]},
    ext_modules=[Extension("kelvorn_unihan._native", sources=[])],
    cmdclass={"build_ext": CMakeBuild},
    python_requires=">=3.7",
    zip_safe=False,
)
