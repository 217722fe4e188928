<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1">
<context>
    <name>ActionBoundary</name>
    <message>
        <source>There was not enough memory to finish the operation, so it was stopped.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A file name holds a character that is not valid text (an unpaired surrogate), so it cannot be used.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The operation failed for an unknown reason.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FileDialog</name>
    <message>
        <source>Text files (*.txt)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Encoded files (*.enc)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>All files (*.*)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quillbox: no display to choose a file on; nothing was done.
</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Form1</name>
    <message>
        <source>File (binary encryption)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Encrypt or decrypt a whole file into another file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Source file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Path of the file to encrypt or decrypt; a file can also be dropped here</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Destination file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Path of the file that receives the result</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Browse</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Browse for the source file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose the source file; the destination is named after it</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Encrypt</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Encrypt file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Encrypt the source file into the destination file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Decrypt</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Decrypt file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Decrypt the source file into the destination file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Swap</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Swap source and destination</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Exchange the paths of the source and destination files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>About</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>About Quillbox</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show the version and how to use Quillbox from the command line</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>String (ASCII encryption)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Encrypt a line of text into Base64 text, or decrypt it back</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>P&amp;aste</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Paste from clipboard</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Replace the text to encrypt or decrypt with the text on the clipboard</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Text to encrypt or decrypt</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Plain text to encrypt, or Base64 text to decrypt</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>E&amp;ncrypt</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Encrypt text</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Encrypt the text into Base64 text shown as the result</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Result</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The result of the last text encryption or decryption</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dec&amp;rypt</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Decrypt text</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Decrypt the Base64 text into the plain text shown as the result</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Copy to clipboard</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy result to clipboard</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Put the result on the clipboard as plain text</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Messages</name>
    <message>
        <source>The operation completed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file &quot;%1&quot; does not exist.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file &quot;%1&quot; already exists.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not read &quot;%1&quot;: %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not read &quot;%1&quot;.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file &quot;%1&quot; is too large to encrypt (at most 2147483628 bytes fit in an encrypted file).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not write &quot;%1&quot;: %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not write &quot;%1&quot;.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Wrong password, or the file is not a valid encrypted file.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file &quot;%1&quot; holds no Base64 text.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The password holds a character that cannot be used: text and passwords may only hold characters of the Western European (Windows-1252) code page. Nothing was encrypted or decrypted.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unknown failure.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The character &quot;%1&quot; cannot be used: text and passwords may only hold characters of the Western European (Windows-1252) code page. Nothing was encrypted or decrypted.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The operation failed: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Wrong password, or the text is not a valid encrypted string.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please enter the name of the destination file in the second field.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;%1&quot; is a folder, not a file. Choose a file to decrypt.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;%1&quot; is a folder, not a file. Choose a file to encrypt.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The name &quot;%1&quot; is not a valid file name on this system.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file &quot;%1&quot; is too large to be an encrypted file (those are at most 2147483647 bytes long).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not write &quot;%1&quot;: it is not a regular file (a device, a pipe or a socket). It was left as it is.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;%1&quot; is read-only. It was left as it is.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not write &quot;%1&quot;: it is a symbolic link that belongs to another user in a shared folder, and Quillbox does not follow such links.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not write &quot;%1&quot;: there was not enough memory to encode the encrypted data as Base64 text.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Encrypted, but the original was not wiped: the encrypted file could not be checked against &quot;%1&quot;. The original is unchanged.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Encrypted, but the original was not wiped: the encrypted file could not be checked against &quot;%1&quot; (%2). The original is unchanged.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Encrypted, but the original was not wiped: &quot;%1&quot; is a symbolic link, and Quillbox does not wipe through links. The link and the file it points to are unchanged.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Encrypted, but the original was not wiped: &quot;%1&quot; has other names (hard links), which would hold the encrypted data afterwards. The original is unchanged.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Encrypted, but the original was not wiped: &quot;%1&quot; could not be renamed or deleted (%2). The original is unchanged; the encrypted file was kept.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Encrypted, but the original was not wiped: could not overwrite &quot;%1&quot; (%2). The encrypted file was kept.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The original was overwritten with the encrypted data but could not be deleted: &quot;%1&quot; (%2). The encrypted file was kept.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enter password:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Re-enter password</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You typed a different password.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Wipe original?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a regular file.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Use --force to replace it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file name is not valid UTF-8.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The input and the output are the same file.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No output name can be made from this name; give one with -o.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Encrypted data is not written to a terminal; use --armor or -o FILE.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Wrong password, or the data is not a valid encrypted file.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The data holds no Base64 text.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The data is too large to encrypt.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is too large to encrypt (at most 2147483628 bytes fit in an encrypted file).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is too large to be an encrypted file.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not read standard input: %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not write to standard output: %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The text is too long.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The text is not valid UTF-8.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The text is too long to encrypt.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There was not enough memory to encode the encrypted text as Base64.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not read the password from the terminal: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>there was not enough memory to finish; nothing more was done.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file &quot;%1&quot; changed while it was being read. Nothing was written.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Encrypted, but the original was not wiped: the encrypted file&apos;s folder could not be flushed to disk (%2), so the encrypted file might not survive a crash. The original &quot;%1&quot; is unchanged.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Encrypted, but the original was only partly wiped: overwriting &quot;%1&quot; failed part-way (%2). The part that was overwritten is on disk and the file was deleted, but the rest of its content may remain in the disk&apos;s free space. The encrypted file was kept.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Encrypted, but the original was not wiped: could not overwrite &quot;%1&quot; (%2). It was not deleted and is now &quot;%3&quot;, perhaps partly overwritten; delete it yourself. The encrypted file was kept.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;%1&quot; already exists. Replace it?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not an encrypted file.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is not an encrypted file.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop? The output so far is discarded.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stopped.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Skipped &quot;%1&quot;: it is a symbolic link, and links are not followed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Skipped &quot;%1&quot;: it is not a regular file (a device, a pipe or a socket).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Skipped &quot;%1&quot;: its name ends in .enc, so it is taken to be encrypted already.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Skipped &quot;%1&quot;: &quot;%2&quot; already exists.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Skipped &quot;%1&quot;: it was replaced after the folder was read.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not use &quot;%1&quot;: the name is not valid UTF-8.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not read the folder &quot;%1&quot;: %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;%1&quot; is neither a file nor a folder, or it is not there.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 encrypted, %2 skipped, %3 failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 decrypted, %2 skipped, %3 failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stopped at &quot;%1&quot;, which was left as it was; the files after it were not touched: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 to encrypt, %2 skipped, %3 failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 to decrypt, %2 skipped, %3 failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Wipe the %1 originals?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1.

%2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>... and %1 more.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PasswordForm</name>
    <message>
        <source>Password</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Use the password typed in the box</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close the prompt without a password</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enter password:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Startup</name>
    <message>
        <source>Quillbox: the clipboard could not be kept after exit.
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There is no file %1.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>StatusForm</name>
    <message>
        <source>Working...</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>StatusProgress</name>
    <message>
        <source>Working... %1%</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>UsageText</name>
    <message>
        <source>Quillbox by the Quillbox developers Version:%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Usage: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The decrypted result will be in the clipboard</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is the password in the above examples.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>if you use -ask for password you will be asked for password when the program is executed.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
