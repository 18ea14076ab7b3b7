"""cmake --install puts a package that imports from the prefix alone: the
extension finds the shared libraries through its relative RPATH, and the
bundled files where the libraries were installed, not a copy of its own."""

import os
import subprocess
import sys

import kelvorn_unihan

PROBE = ("import kelvorn_unihan as k; u = k.Unihan(); "
         "print(k.__file__, k.BUNDLED_IMAGE, u.radical_stroke('漢'), len(u), sep='|')")


def test_installed_package_imports_from_the_prefix(build_dir, tmp_path):
    prefix = tmp_path / "prefix"
    subprocess.run(["cmake", "--install", str(build_dir), "--prefix", str(prefix)],
                   check=True, capture_output=True)
    site = prefix / "lib" / "python3" / "dist-packages"
    env = {key: value for key, value in os.environ.items() if key != "PYTHONPATH"}
    env["PYTHONPATH"] = str(site)
    result = subprocess.run([sys.executable, "-c", PROBE], cwd=tmp_path, env=env,
                            capture_output=True, check=False)
    assert result.returncode == 0, result.stderr
    package = site / "kelvorn_unihan"
    image = prefix / "share" / "kelvorn-unihan" / f"unihan-{kelvorn_unihan.UNICODE_VERSION}.bin"
    assert result.stdout.decode("utf-8").rstrip("\n").split("|") == [
        str(package / "__init__.py"), str(image), "(85, 11)", "102998"]
    assert not list(package.glob("*.bin"))


def test_data_dir_variable_is_the_only_place_looked_in(tmp_path):
    env = dict(os.environ, KELVORN_UNIHAN_DATA_DIR=str(tmp_path))
    probe = ("import kelvorn_unihan as k\n"
             "print(k.BUNDLED_IMAGE)\n"
             "try:\n    k.Unihan()\nexcept FileNotFoundError as e:\n    print(e.filename)\n")
    result = subprocess.run([sys.executable, "-c", probe], cwd=tmp_path, env=env,
                            capture_output=True, check=True)
    image = str(tmp_path / f"unihan-{kelvorn_unihan.UNICODE_VERSION}.bin")
    assert result.stdout.decode("utf-8").split("\n")[:2] == [image, image]
