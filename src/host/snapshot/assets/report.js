function swipe(input) { const s = input.parentNode.querySelector('.swipe'); s.className = 'swipe'; s.style.setProperty('--at', input.value + '%'); }
function show(button, which) { button.parentNode.querySelector('.swipe').className = 'swipe ' + which; }
