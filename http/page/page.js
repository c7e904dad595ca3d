// Checks as you type: every change asks the server, a little after the last
// keystroke. A bank-code field that starts with a letter searches bank names
// and offers the hits to pick from, as the form control does.
"use strict";

const kDebounceMs = 150;
const kShownHits = 50;

const bankCodeField = document.getElementById("bank-code");
const accountField = document.getElementById("account");
const bankName = document.getElementById("bank-name");
const hitList = document.getElementById("hits");
const verdict = document.getElementById("verdict");

// The verdicts of the API mapped onto the page's three colours.
const kColourOf = {
  valid: "valid",
  invalid: "invalid",
  input_fault: "fault",
  method_not_found: "fault",
};

let timer = 0;
let latest = 0;  // the number of the newest question; older answers are dropped
let hits = [];
let activeHit = -1;

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
    const check = await ask("/api/v1/check", { bank_code: bankCode, account: account });
    if (question !== latest) return;
    if (check.status === 200) {
      showAnswer(check.body);
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

bankCodeField.addEventListener("input", schedule);
accountField.addEventListener("input", schedule);
bankCodeField.addEventListener("blur", () => setTimeout(closeHits, 0));

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
