// Checks as you type: every change asks the server, a little after the last
// keystroke. A bank-code field that starts with a letter searches bank names
// and offers the hits to pick from, as the form control does. "Warum?" shows
// the steps of the check and, for a wrong check digit, the accounts one slip
// away. The IBAN field is checked on its own, as typed.
"use strict";

const kDebounceMs = 150;
const kShownHits = 50;

const bankCodeField = document.getElementById("bank-code");
const accountField = document.getElementById("account");
const bankName = document.getElementById("bank-name");
const hitList = document.getElementById("hits");
const verdict = document.getElementById("verdict");
const whyButton = document.getElementById("why");
const whyPanel = document.getElementById("why-panel");
const whyTests = document.getElementById("why-tests");
const whySteps = document.getElementById("why-steps");
const suggestions = document.getElementById("suggestions");
const suggestionList = document.getElementById("suggestion-list");
const ibanField = document.getElementById("iban");
const ibanVerdict = document.getElementById("iban-verdict");
const ibanBank = document.getElementById("iban-bank");

// The verdicts of the API mapped onto the page's three colours.
const kColourOf = {
  valid: "valid",
  invalid: "invalid",
  input_fault: "fault",
  method_not_found: "fault",
};

// How a slip turned the suggestion into what was typed.
const kSlipText = {
  transposition: "Zahlendreher",
  substitution: "Ziffer vertippt",
  missing_digit: "Ziffer ausgelassen",
  doubled_digit: "Ziffer doppelt",
};

let timer = 0;
let latest = 0;  // the number of the newest question; older answers are dropped
let hits = [];
let activeHit = -1;
let checked = null;  // the question and answer of the verdict shown, for "Warum?"
let ibanTimer = 0;
let ibanLatest = 0;

function isNameSearch(text) {
  return text !== "" && !/^[0-9]/.test(text);
}

async function ask(path, params) {
  const response = await fetch(path + "?" + new URLSearchParams(params), {
    headers: { Accept: "application/json" },
  });
  return { status: response.status, body: await response.json() };
}

function showVerdict(text, colour) {
  verdict.textContent = text;
  verdict.dataset.kind = colour;
}

function markFaultyField(field) {
  bankCodeField.toggleAttribute("aria-invalid", field === "bank_code");
  accountField.toggleAttribute("aria-invalid", field === "account");
}

function showAnswer(answer) {
  showVerdict(answer.message, kColourOf[answer.verdict] || "fault");
  bankName.textContent = answer.bank ? answer.bank.name : "";
  markFaultyField(answer.field);
}

function clearAnswer() {
  showVerdict("", "none");
  bankName.textContent = "";
  markFaultyField(null);
}

function closeWhy() {
  whyPanel.hidden = true;
  whyButton.setAttribute("aria-expanded", "false");
  whyTests.replaceChildren();
  whySteps.replaceChildren();
  suggestionList.replaceChildren();
  suggestions.hidden = true;
}

function forgetCheck() {
  checked = null;
  whyButton.hidden = true;
  closeWhy();
}

function textItem(tag, text, className) {
  const item = document.createElement(tag);
  item.textContent = text;
  if (className) item.className = className;
  return item;
}

// "Summe 23, Modulus 11, Rest 1, Prüfziffer 0": the figures a computation has.
function figures(computation) {
  const parts = [];
  if (computation.sum !== null) parts.push("Summe " + computation.sum);
  if (computation.modulus !== null) parts.push("Modulus " + computation.modulus);
  if (computation.remainder !== null) parts.push("Rest " + computation.remainder);
  if (computation.check_digit !== null) {
    parts.push(`Prüfziffer ${computation.check_digit} an Stelle ${computation.check_position}`);
  }
  return parts.join(", ");
}

function stepItem(step) {
  const item = document.createElement("li");
  const head = "Methode " + step.key + (step.reason ? " (" + step.reason + ")" : "");
  if (!step.ran) {
    item.append(textItem("span", head + ": nicht gelaufen", "skipped"));
    return item;
  }
  item.append(textItem("span", `${head}, Konto ${step.account}: ${step.result.message}`, "head"));
  const lines = document.createElement("ul");
  for (const computation of step.computations) {
    const line = figures(computation);
    lines.append(textItem("li", computation.rule + (line ? ": " + line : "")));
  }
  for (const note of step.notes) lines.append(textItem("li", note, "note"));
  if (lines.children.length > 0) item.append(lines);
  if (step.steps.length > 0) {
    const inner = document.createElement("ol");
    for (const child of step.steps) inner.append(stepItem(child));
    item.append(inner);
  }
  return item;
}

function showExplanation(explanation) {
  for (const test of explanation.tests) {
    whyTests.append(textItem("li", (test.passed ? "✓ " : "✗ ") + test.text,
                             test.passed ? "passed" : "failed"));
  }
  for (const step of explanation.steps) whySteps.append(stepItem(step));
}

function pickSuggestion(account) {
  accountField.value = account;
  accountField.focus();
  update();
}

function showSuggestions(found) {
  for (const suggestion of found.accounts) {
    const button = textItem("button", suggestion.account);
    button.type = "button";
    button.addEventListener("click", () => pickSuggestion(suggestion.account));
    const item = document.createElement("li");
    const slip = kSlipText[suggestion.slip] || suggestion.slip;
    item.append(button, ` ${slip} an Stelle ${suggestion.position}`);
    suggestionList.append(item);
  }
  suggestions.hidden = found.accounts.length === 0;
}

async function openWhy() {
  const shown = checked;
  if (shown === null) return;
  whyPanel.hidden = false;
  whyButton.setAttribute("aria-expanded", "true");
  try {
    const explanation = await ask("/api/v1/explain", shown.params);
    if (checked !== shown) return;
    if (explanation.status === 200) showExplanation(explanation.body);
    if (shown.answer.verdict !== "invalid") return;
    const found = await ask("/api/v1/suggest", shown.params);
    if (checked === shown && found.status === 200) showSuggestions(found.body);
  } catch {
    if (checked === shown) whyTests.append(textItem("li", "Der Server ist nicht erreichbar."));
  }
}

function closeHits() {
  hits = [];
  activeHit = -1;
  hitList.hidden = true;
  hitList.replaceChildren();
  bankCodeField.setAttribute("aria-expanded", "false");
  bankCodeField.removeAttribute("aria-activedescendant");
}

function showHits(search) {
  closeHits();
  hits = search.hits;
  for (const [index, hit] of hits.entries()) {
    const item = document.createElement("li");
    item.id = "hit-" + index;
    item.setAttribute("role", "option");
    item.setAttribute("aria-selected", "false");
    const code = document.createElement("span");
    code.className = "code";
    code.textContent = hit.bank_code;
    item.append(code, " ", hit.name);
    item.addEventListener("mousedown", (event) => event.preventDefault());
    item.addEventListener("click", () => pickHit(index));
    hitList.append(item);
  }
  hitList.hidden = hits.length === 0;
  bankCodeField.setAttribute("aria-expanded", String(hits.length > 0));
  if (search.total === 0) {
    bankName.textContent = "Keine Bank gefunden.";
  } else if (search.total > hits.length) {
    bankName.textContent = `${hits.length} von ${search.total} Treffern`;
  } else {
    bankName.textContent = search.total === 1 ? "1 Treffer" : `${search.total} Treffer`;
  }
}

function moveActiveHit(step) {
  if (hits.length === 0) return;
  if (activeHit >= 0) hitList.children[activeHit].setAttribute("aria-selected", "false");
  activeHit = (activeHit + step + hits.length) % hits.length;
  const item = hitList.children[activeHit];
  item.setAttribute("aria-selected", "true");
  item.scrollIntoView({ block: "nearest" });
  bankCodeField.setAttribute("aria-activedescendant", item.id);
}

function pickHit(index) {
  bankCodeField.value = hits[index].bank_code;
  closeHits();
  accountField.focus();
  update();
}

async function update() {
  clearTimeout(timer);
  const question = ++latest;
  const bankCode = bankCodeField.value;
  const account = accountField.value;
  forgetCheck();
  try {
    if (isNameSearch(bankCode)) {
      showVerdict("", "none");
      markFaultyField(null);
      const search = await ask("/api/v1/banks", { q: bankCode, limit: kShownHits });
      if (question !== latest) return;
      if (search.status === 200) showHits(search.body);
      else showVerdict(search.body.message, "fault");
      return;
    }
    closeHits();
    if (bankCode === "" && account === "") {
      clearAnswer();
      return;
    }
    const params = { bank_code: bankCode, account: account };
    const check = await ask("/api/v1/check", params);
    if (question !== latest) return;
    if (check.status === 200) {
      showAnswer(check.body);
      checked = { params: params, answer: check.body };
      whyButton.hidden = false;
    } else {
      clearAnswer();
      showVerdict(check.body.message, "fault");
    }
  } catch {
    if (question === latest) showVerdict("Der Server ist nicht erreichbar.", "fault");
  }
}

function schedule() {
  clearTimeout(timer);
  timer = setTimeout(update, kDebounceMs);
}

// The colour of an IBAN answer: a wrong checksum or a wrong account is
// invalid, any other fault is a fault of the input.
function ibanColour(answer) {
  if (answer.valid) return "valid";
  if (answer.code === "iban_checksum") return "invalid";
  const wrongAccount = answer.german && answer.german.account_check.code === "invalid_check_digit";
  return wrongAccount ? "invalid" : "fault";
}

function ibanText(answer) {
  if (answer.code !== "valid") return answer.message;
  if (!answer.german) return `${answer.print_format}: ${answer.message}`;
  const check = answer.german.account_check;
  if (answer.valid) return `${answer.print_format}: ${check.message}`;
  return `${answer.print_format}: Prüfsumme stimmt, aber das Konto nicht: ${check.message}`;
}

function showIban(answer) {
  ibanVerdict.textContent = ibanText(answer);
  ibanVerdict.dataset.kind = ibanColour(answer);
  ibanField.toggleAttribute("aria-invalid", !answer.valid);
  const bank = answer.german ? answer.german.bank : null;
  ibanBank.textContent = bank ? bank.name + (bank.bic ? " · BIC " + bank.bic : "") : "";
}

function clearIban(message) {
  ibanVerdict.textContent = message;
  ibanVerdict.dataset.kind = message ? "fault" : "none";
  ibanBank.textContent = "";
  ibanField.removeAttribute("aria-invalid");
}

async function updateIban() {
  clearTimeout(ibanTimer);
  const question = ++ibanLatest;
  const text = ibanField.value;
  if (text.trim() === "") {
    clearIban("");
    return;
  }
  try {
    const response = await fetch("/api/v1/iban/" + encodeURIComponent(text), {
      headers: { Accept: "application/json" },
    });
    const answer = await response.json();
    if (question !== ibanLatest) return;
    if (response.status === 200) showIban(answer);
    else clearIban(answer.message);
  } catch {
    if (question === ibanLatest) clearIban("Der Server ist nicht erreichbar.");
  }
}

function scheduleIban() {
  clearTimeout(ibanTimer);
  ibanTimer = setTimeout(updateIban, kDebounceMs);
}

bankCodeField.addEventListener("input", schedule);
accountField.addEventListener("input", schedule);
bankCodeField.addEventListener("blur", () => setTimeout(closeHits, 0));
ibanField.addEventListener("input", scheduleIban);
whyButton.addEventListener("click", () => (whyPanel.hidden ? openWhy() : closeWhy()));

bankCodeField.addEventListener("keydown", (event) => {
  if (hitList.hidden) return;
  if (event.key === "ArrowDown" || event.key === "ArrowUp") {
    moveActiveHit(event.key === "ArrowDown" ? 1 : -1);
  } else if (event.key === "Enter" && activeHit >= 0) {
    pickHit(activeHit);
  } else if (event.key === "Escape") {
    closeHits();
  } else {
    return;
  }
  event.preventDefault();
});

// Enter checks at once instead of sending the form.
document.getElementById("check").addEventListener("submit", (event) => {
  event.preventDefault();
  update();
});
document.getElementById("iban-check").addEventListener("submit", (event) => {
  event.preventDefault();
  updateIban();
});
