#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""kalvira-convert against a NumPy script that does the same, side by side:
a generated table of lambda, n, k converted into every column, rows per
second for both and their ratio, and the peak memory (maximum resident set)
of each process at 100,000 and at 1,000,000 rows; then a material by name
and a search of the database, whole commands, beside Python's
yaml.safe_load of the catalogue, which is how Python readers find a page.
Usage: convert_bench.py KALVIRA_CONVERT [PYTHON_WITH_NUMPY]"""
import os
import random
import subprocess
import sys
import tempfile
import time

# The same formulas vectorised, as a careful NumPy user would write them.
NUMPY_SCRIPT = r'''
import sys, numpy as np
lam, n, k = np.loadtxt(sys.argv[1], unpack=True)
K = 2 * np.pi * k / (lam * 1e-9)
with np.errstate(divide="ignore"):
    columns = [lam, n, k, n * n - k * k, 2 * n * k, K, K / 50, ((n - 1) ** 2 + k * k) / ((n + 1) ** 2 + k * k),
               5e8 / K, 1239.8419843320026 / lam, 1e7 / lam, 299792.458 / lam]
np.savetxt(sys.argv[2], np.column_stack(columns), fmt="%.17g", delimiter=",",
           header="lambda_nm,n,k,eps1,eps2,K_per_m,alpha_per_cm,R,depth_nm,E_eV,wavenumber_per_cm,nu_THz", comments="")
'''


def measure(command):
    """Seconds and peak resident memory in MiB of one run of command."""
    start = time.perf_counter()
    process = subprocess.Popen(command, stdout=subprocess.DEVNULL)
    _, status, usage = os.wait4(process.pid, 0)
    seconds = time.perf_counter() - start
    if status != 0:
        sys.exit(f"{command[0]} failed with status {status}")
    return seconds, usage.ru_maxrss / 1024


def best(command, runs=3):
    results = [measure(command) for _ in range(runs)]
    return min(r[0] for r in results), max(r[1] for r in results)


def main():
    converter = sys.argv[1]
    python = sys.argv[2] if len(sys.argv) > 2 else sys.executable
    has_numpy = subprocess.run([python, "-c", "import numpy"], capture_output=True).returncode == 0
    work = tempfile.mkdtemp()
    script = os.path.join(work, "convert.py")
    with open(script, "w") as f:
        f.write(NUMPY_SCRIPT)
    random.seed(2026)
    print(f"{'rows':>9} {'kalvira-convert':>24} {'NumPy':>24} {'ratio':>7}")
    for rows in (100_000, 1_000_000):
        table = os.path.join(work, f"table-{rows}.txt")
        with open(table, "w") as f:
            for i in range(rows):
                f.write(f"{200 + i * 1000 / rows:.6f} {1 + 3 * random.random():.6f} {5 * random.random():.6f}\n")
        out = os.path.join(work, "out.csv")
        seconds, memory = best([converter, "-o", out, table])
        ours = f"{rows / seconds:>10,.0f}/s {memory:>6.1f} MiB"
        if has_numpy:
            numpy_seconds, numpy_memory = best([python, script, table, out])
            theirs = f"{rows / numpy_seconds:>10,.0f}/s {numpy_memory:>6.1f} MiB"
            ratio = f"{numpy_seconds / seconds:>6.1f}x"
        else:
            theirs, ratio = f"{'no NumPy in ' + os.path.basename(python):>24}", ""
        print(f"{rows:>9,} {ours:>24} {theirs:>24} {ratio:>7}")
        os.remove(table)
    if not has_numpy:
        print(f"NumPy is missing for {python}: install python3-numpy to compare")
    by_name(converter, python)


def by_name(converter, python):
    """The database by name: best of 10 whole runs, in ms."""
    catalogue = os.path.join(os.path.dirname(os.path.abspath(converter)), "refractiveindex.info-database", "catalog-nk.yml")
    commands = [("--at 632.8 main/Au/Johnson", [converter, "--at", "632.8", "main/Au/Johnson"]),
                ("--list gold", [converter, "--list", "gold"])]
    if subprocess.run([python, "-c", "import yaml"], capture_output=True).returncode == 0:
        commands.append(("Python: yaml.safe_load(catalog-nk.yml)",
                         [python, "-c", "import sys, yaml; yaml.safe_load(open(sys.argv[1], encoding='utf-8'))", catalogue]))
    else:
        print(f"PyYAML is missing for {python}: install python3-yaml to compare")
    for what, command in commands:
        print(f"{what:<40} {best(command, 10)[0] * 1000:>7.1f} ms")


if __name__ == "__main__":
    main()
