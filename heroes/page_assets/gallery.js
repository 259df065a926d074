// The gallery's filter: the search box and the three selectors narrow the cards; the filter is
// read from the address (#q=talia&class=archer) and written back as it changes. Cards carry
// their values' tokens as data-alignment, data-class and data-sex ("none" for no value).
(function() {
'use strict';
var form = document.getElementById('filter');
if (!form || !window.URLSearchParams) return;
var fields = ['q', 'alignment', 'class', 'sex'];
var status = document.getElementById('shown');
var cards = Array.prototype.slice.call(document.querySelectorAll('.card'));
var texts = cards.map(function(card) {
  var parts = card.querySelectorAll('.name, .keyword, .bio');
  var text = '';
  for (var i = 0; i < parts.length; i++) text += parts[i].textContent + '\n';
  return text.toLowerCase();
});

function apply() {
  var q = form.elements.q.value.trim().toLowerCase();
  var shown = 0;
  cards.forEach(function(card, i) {
    var show = (!q || texts[i].indexOf(q) >= 0);
    for (var f = 1; f < fields.length && show; f++) {
      var want = form.elements[fields[f]].value;
      show = !want || card.getAttribute('data-' + fields[f]) === want;
    }
    card.hidden = !show;
    if (show) shown++;
  });
  status.textContent =
      shown === cards.length ? 'All ' + cards.length + ' shown' : shown + ' of ' + cards.length + ' shown';
}

function fromAddress() {
  var params = new URLSearchParams(location.hash.replace(/^#/, ''));
  fields.forEach(function(name) {
    var control = form.elements[name];
    control.value = params.get(name) || '';
    if (control.tagName === 'SELECT' && control.selectedIndex < 0) control.selectedIndex = 0;
  });
  apply();
}

function toAddress() {
  var params = new URLSearchParams();
  fields.forEach(function(name) {
    var value = form.elements[name].value;
    if (value) params.set(name, value);
  });
  var hash = params.toString();
  history.replaceState(null, '', hash ? '#' + hash : location.pathname + location.search);
}

form.addEventListener('input', function() {
  apply();
  toAddress();
});
form.addEventListener('change', function() {
  apply();
  toAddress();
});
form.addEventListener('submit', function(e) {
  e.preventDefault();
});
window.addEventListener('hashchange', fromAddress);
form.hidden = false;
fromAddress();
})();
