# Ring: python. pip install . : the extension is built by the project's own
# CMake build (-DTAPWELL_PYTHON=ON, the one list of sources) for the running
# interpreter and copied into the package; nothing is fetched, so it works
# with --no-index --no-build-isolation on Debian's packages alone.
import os
import re
import shutil
import subprocess
import sys
from pathlib import Path

from setuptools import Extension, setup
from setuptools.command.build_ext import build_ext

ROOT = Path(__file__).resolve().parent


def project_version():
    text = (ROOT / "CMakeLists.txt").read_text()
    return re.search(r"project\(Tapwell VERSION ([0-9.]+)", text).group(1)


class CMakeBuild(build_ext):
    def build_extension(self, ext):
        build = Path(self.build_temp).resolve() / "cmake"
        generator = ["-G", "Ninja"] if shutil.which("ninja") else []
        subprocess.check_call(
            ["cmake", "-S", str(ROOT), "-B", str(build), *generator, "-DCMAKE_BUILD_TYPE=Release",
             "-DTAPWELL_TESTS=OFF", "-DTAPWELL_PYTHON=ON", f"-DPython3_EXECUTABLE={sys.executable}"])
        jobs = os.environ.get("TAPWELL_JOBS", str(os.cpu_count() or 1))
        subprocess.check_call(["cmake", "--build", str(build), "--target", "_tapwell", "-j", jobs])
        built = next((build / "python" / "tapwell").glob("_tapwell*" + Path(self.get_ext_filename("x")).suffix))
        target = Path(self.get_ext_fullpath(ext.name))
        target.parent.mkdir(parents=True, exist_ok=True)
        shutil.copyfile(built, target)


setup(
    name="tapwell",
    version=project_version(),
    description="Binary shift-register sequences over GF(2): primitive polynomials, M-sequences, Gold codes, "
                "correlation and preferred pairs",
    packages=["tapwell"],
    package_dir={"": "python"},
    package_data={"tapwell": ["py.typed", "*.pyi"]},
    ext_modules=[Extension("tapwell._tapwell", sources=[])],
    cmdclass={"build_ext": CMakeBuild},
    python_requires=">=3.9",
    install_requires=["numpy"],
    zip_safe=False,
)
