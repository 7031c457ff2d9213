-- Opens a script in headless Neovim, attaches qxtool lsp through Neovim's own client and checks
-- what an author would see. Exits 0 when every check held; otherwise prints why and exits 1.
-- QXTOOL names the server, QX_SCRIPT the script to open.

local failures = {}
local function check(ok, what)
  if not ok then
    table.insert(failures, what)
  end
end

local function finish()
  if #failures > 0 then
    io.stderr:write(table.concat(failures, '\n') .. '\n')
    vim.cmd('cquit 1')
  end
  vim.cmd('qall!')
end

local ok, err = pcall(function()
  vim.cmd('edit ' .. vim.fn.fnameescape(os.getenv('QX_SCRIPT')))
  local buf = vim.api.nvim_get_current_buf()
  local client = vim.lsp.start_client({
    name = 'quillex',
    cmd = { os.getenv('QXTOOL'), 'lsp' },
    root_dir = vim.fn.getcwd(),
    init_options = { quillex = { game = 'jk' } },
  })
  check(client ~= nil, 'the client did not start')
  vim.lsp.buf_attach_client(buf, client)

  -- The script has one syntax error on its 11th line.
  local got = vim.wait(10000, function()
    return #vim.diagnostic.get(buf) > 0
  end, 50)
  check(got, 'no diagnostics came')
  local diagnostics = vim.diagnostic.get(buf)
  check(#diagnostics == 1, 'expected one diagnostic, got ' .. #diagnostics)
  if diagnostics[1] then
    check(diagnostics[1].lnum == 10, 'the diagnostic is on line ' .. diagnostics[1].lnum)
    check(diagnostics[1].severity == vim.diagnostic.severity.ERROR, 'the diagnostic is no error')
  end

  local function request(method, line, character)
    local params = {
      textDocument = vim.lsp.util.make_text_document_params(buf),
      position = { line = line, character = character },
    }
    local responses = vim.lsp.buf_request_sync(buf, method, params, 10000)
    for _, response in pairs(responses or {}) do
      if response.error then
        check(false, method .. ' failed: ' .. vim.inspect(response.error))
      end
      return response.result
    end
  end

  -- Hover on the verb of line 10 shows what it does; the definition of "snd" there is line 4.
  local hover = request('textDocument/hover', 9, 4)
  local shown = hover and hover.contents and (hover.contents.value or hover.contents) or ''
  check(type(shown) == 'string' and shown:find('Plays a sound from a thing', 1, true),
    'the hover shows ' .. vim.inspect(shown))
  local definition = request('textDocument/definition', 9, 18)
  if definition and definition[1] then
    definition = definition[1]
  end
  check(definition and definition.range and definition.range.start.line == 3,
    'the definition is ' .. vim.inspect(definition))
end)
check(ok, tostring(err))
finish()
